// StrToDate, StrToTime, StrToDateTime: reading dates and times with the process settings.
#include "host/DateParse.h"

#include <strings.h>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "common/SysUtils.h"
#include "host/Clock.h"

namespace {

class TScanner {
 public:
  explicit TScanner(const std::string& text) : s_(text) {}

  bool AtEnd() const { return pos_ >= s_.size(); }
  size_t Pos() const { return pos_; }

  void Blanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }

  bool Number(int& value, int& digits) {
    Blanks();
    size_t i = pos_;
    int n = 0;
    while (i < s_.size() && s_[i] >= '0' && s_[i] <= '9' && n < 1000) n = n * 10 + (s_[i++] - '0');
    if (i == pos_) return false;
    digits = static_cast<int>(i - pos_);
    pos_ = i;
    value = n;
    return true;
  }

  bool Char(char c) {
    Blanks();
    if (c == 0 || pos_ >= s_.size() || s_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  bool Word(const std::string& word) {
    Blanks();
    if (word.empty() || s_.size() - pos_ < word.size()) return false;
    if (strncasecmp(s_.c_str() + pos_, word.c_str(), word.size()) != 0) return false;
    pos_ += word.size();
    return true;
  }

 private:
  const std::string& s_;
  size_t pos_ = 0;
};

bool ScanDate(TScanner& in, TDateTime& value) {
  const TFormatSettings& s = FormatSettings();
  const TDateOrder order = GetDateOrder(s.ShortDateFormat);
  int n1 = 0, n2 = 0, n3 = 0, l1 = 0, l2 = 0, l3 = 0;
  int y = 0, m = 0, d = 0, yearDigits = 4;
  if (!(in.Number(n1, l1) && in.Char(s.DateSeparator) && in.Number(n2, l2))) return false;
  if (in.Char(s.DateSeparator)) {
    if (!in.Number(n3, l3)) return false;
    switch (order) {
      case TDateOrder::MDY:
        y = n3, yearDigits = l3, m = n1, d = n2;
        break;
      case TDateOrder::DMY:
        y = n3, yearDigits = l3, m = n2, d = n1;
        break;
      case TDateOrder::YMD:
        y = n1, yearDigits = l1, m = n2, d = n3;
        break;
    }
    if (yearDigits <= 2) {
      const int base = CurrentYear() - s.TwoDigitYearCenturyWindow;
      y += base / 100 * 100;
      if (s.TwoDigitYearCenturyWindow > 0 && y < base) y += 100;
    }
  } else {
    y = CurrentYear();
    if (order == TDateOrder::DMY)
      d = n1, m = n2;
    else
      m = n1, d = n2;
  }
  in.Char(s.DateSeparator);
  in.Blanks();
  return TryEncodeDate(y, m, d, value);
}

bool ScanTime(TScanner& in, TDateTime& value) {
  const TFormatSettings& s = FormatSettings();
  auto amPm = [&]() {
    if (in.Word(s.TimeAMString) || in.Word("AM")) return 0;
    if (in.Word(s.TimePMString) || in.Word("PM")) return 12;
    return -1;
  };
  int baseHour = amPm();
  int hour = 0, minute = 0, second = 0, ms = 0, digits = 0;
  if (!in.Number(hour, digits)) return false;
  if (in.Char(s.TimeSeparator)) {
    if (!in.Number(minute, digits)) return false;
    if (in.Char(s.TimeSeparator)) {
      if (!in.Number(second, digits)) return false;
      if (in.Char(s.DecimalSeparator) && !in.Number(ms, digits)) return false;
    }
  }
  if (baseHour < 0) baseHour = amPm();
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += baseHour;
  }
  in.Blanks();
  return TryEncodeTime(hour, minute, second, ms, value);
}

[[noreturn]] void ConvertError(const char* what, const std::string& text) {
  throw EConvertError("'" + text + "' is not a valid " + what);
}

}  // namespace

TDateOrder GetDateOrder(const std::string& format) {
  for (char c : format) {
    switch (c & 0xDF) {
      case 'E':
      case 'Y':
        return TDateOrder::YMD;
      case 'M':
        return TDateOrder::MDY;
      case 'D':
        return TDateOrder::DMY;
    }
  }
  return TDateOrder::MDY;
}

bool TryStrToDate(const std::string& text, TDateTime& value) {
  TScanner in(text);
  TDateTime date = 0;
  if (!ScanDate(in, date) || !in.AtEnd()) return false;
  value = date;
  return true;
}

bool TryStrToTime(const std::string& text, TDateTime& value) {
  TScanner in(text);
  TDateTime time = 0;
  if (!ScanTime(in, time) || !in.AtEnd()) return false;
  value = time;
  return true;
}

bool TryStrToDateTime(const std::string& text, TDateTime& value) {
  TScanner in(text);
  TDateTime date = 0, time = 0;
  if (!ScanDate(in, date) || !(in.AtEnd() || (ScanTime(in, time) && in.AtEnd())))
    return TryStrToTime(text, value);
  value = date >= 0 ? date + time : date - time;
  return true;
}

TDateTime StrToDate(const std::string& text) {
  TDateTime value = 0;
  if (!TryStrToDate(text, value)) ConvertError("date", text);
  return value;
}

TDateTime StrToTime(const std::string& text) {
  TDateTime value = 0;
  if (!TryStrToTime(text, value)) ConvertError("time", text);
  return value;
}

TDateTime StrToDateTime(const std::string& text) {
  TDateTime value = 0;
  if (!TryStrToDateTime(text, value)) ConvertError("date and time", text);
  return value;
}
