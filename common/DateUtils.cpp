#include "common/DateUtils.h"

#include <chrono>
#include <cmath>
#include <cstdio>

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
  using namespace std::chrono;
  const sys_days date =
      year_month_day{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
  const sys_days epoch = year_month_day{std::chrono::year(1899), December, std::chrono::day(30)};
  const double days = (date - epoch).count();
  return days + (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / 86400000.0;
}

std::string DateTimeToStr(TDateTime value) {
  // Interim text until the format settings arrive: dd/mm/yyyy hh:nn:ss.
  using namespace std::chrono;
  const sys_days epoch = year_month_day{std::chrono::year(1899), December, std::chrono::day(30)};
  double whole = std::floor(value);
  long ms = std::lround((value - whole) * 86400000.0);
  year_month_day ymd{epoch + days(static_cast<long>(whole))};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02u/%02u/%04d %02ld:%02ld:%02ld", unsigned(ymd.day()),
                unsigned(ymd.month()), int(ymd.year()), ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60);
  return buf;
}
