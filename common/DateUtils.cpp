#include "common/DateUtils.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

constexpr double kMsPerDay = 86400000.0;

std::chrono::sys_days Epoch() {
  using namespace std::chrono;
  return year_month_day{year(1899), December, day(30)};
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  using namespace std::chrono;
  const year_month_day ymd{std::chrono::year(year), std::chrono::month(month),
                           std::chrono::day(day)};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || !ymd.ok()) return false;
  value = static_cast<double>((sys_days(ymd) - Epoch()).count());
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  value = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMsPerDay;
  return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
  using namespace std::chrono;
  const sys_days date =
      year_month_day{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
  const double days = (date - Epoch()).count();
  return days + (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMsPerDay;
}

TDateTimeParts DecodeDateTime(TDateTime value) {
  using namespace std::chrono;
  // Whole milliseconds first, so 23:59:59.9996 rounds into the next day as a whole.
  const long long total = std::llround(value * kMsPerDay);
  const long long ms = std::llabs(total) % 86400000LL;
  const sys_days date = Epoch() + days(total / 86400000LL);
  const year_month_day ymd{date};
  TDateTimeParts p;
  p.Year = int(ymd.year());
  p.Month = static_cast<int>(unsigned(ymd.month()));
  p.Day = static_cast<int>(unsigned(ymd.day()));
  p.Hour = static_cast<int>(ms / 3600000);
  p.Minute = static_cast<int>(ms / 60000 % 60);
  p.Second = static_cast<int>(ms / 1000 % 60);
  p.Millisecond = static_cast<int>(ms % 1000);
  p.DayOfWeek = static_cast<int>(weekday{date}.c_encoding()) + 1;
  return p;
}

TDateTime UnixTimeToLocalDateTime(long long seconds, long nanoseconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return 0;
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec, static_cast<int>(nanoseconds / 1000000));
}

std::string DateTimeToStr(TDateTime value) {
  return FormatDateTime("c", value);
}
