// StrToDate, StrToTime, StrToDateTime: reading dates and times with the process settings.
#include "host/DateParse.h"

#include <strings.h>

#include <vector>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "common/SysUtils.h"
#include "host/Clock.h"

namespace {

// The unit words of a pattern: its runs of non-ASCII text, such as 年 月 日 or 時 分 秒 in the
// patterns of locales that write a unit after each field instead of a separator between them.
std::vector<std::string> UnitWords(std::initializer_list<const std::string*> patterns) {
  std::vector<std::string> words;
  for (const std::string* pattern : patterns) {
    std::string word;
    for (char c : *pattern + ' ') {
      if (static_cast<unsigned char>(c) >= 0x80) {
        word += c;
      } else if (!word.empty()) {
        words.push_back(word);
        word.clear();
      }
    }
  }
  return words;
}

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

  // One of the unit words, after blanks.
  bool UnitWord(const std::vector<std::string>& words) {
    const size_t mark = pos_;
    for (const std::string& word : words)
      if (Word(word)) return true;
    pos_ = mark;
    return false;
  }

  // The separator, or in its place one of the unit words.
  bool Separator(char separator, const std::vector<std::string>& words) {
    return Char(separator) || UnitWord(words);
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
  const std::vector<std::string> units = UnitWords({&s.ShortDateFormat});
  if (!(in.Number(n1, l1) && in.Separator(s.DateSeparator, units) && in.Number(n2, l2)))
    return false;
  bool third = false;
  if (in.Char(s.DateSeparator)) {
    if (!in.Number(n3, l3)) return false;
    third = true;
  } else if (in.UnitWord(units)) {
    third = in.Number(n3, l3);  // else the unit was the second number's
  }
  if (third) {
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
  if (!in.Char(s.DateSeparator)) in.UnitWord(units);
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
  const std::vector<std::string> units = UnitWords({&s.LongTimeFormat, &s.ShortTimeFormat});
  // After each number the separator, which a number must follow, or a unit word, which ends
  // the time when no number follows ("14時05分").
  auto next = [&](int& value) {
    if (in.Char(s.TimeSeparator)) return in.Number(value, digits) ? 1 : -1;
    return in.UnitWord(units) && in.Number(value, digits) ? 1 : 0;
  };
  if (!in.Number(hour, digits)) return false;
  int found = next(minute);
  if (found > 0) found = next(second);
  if (found < 0) return false;
  if (found > 0) {
    if (in.Char(s.DecimalSeparator) && !in.Number(ms, digits)) return false;
    in.UnitWord(units);
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
