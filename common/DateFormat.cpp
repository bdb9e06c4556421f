// FormatDateTime: the Delphi pattern language described in DateUtils.h.
#include <strings.h>
#include <cstdio>
#include <cstring>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "common/SysUtils.h"

namespace {

bool StartsWithNoCase(const char* p, const char* word) {
  return strncasecmp(p, word, std::strlen(word)) == 0;
}

void AppendNumber(std::string& out, int value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", digits, value);
  out += buf;
}

class TDateFormatter {
 public:
  TDateFormatter(TDateTime value, const TFormatSettings& s)
      : parts_(DecodeDateTime(value)), s_(s) {}

  void Append(const char* p, int depth) {
    char lastToken = ' ';
    while (*p) {
      const char c = *p;
      char token = UpCase(c);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      const int count = Count(p);
      switch (token) {
        case 'Y':
          if (count <= 2)
            AppendNumber(out_, parts_.Year % 100, 2);
          else
            AppendNumber(out_, parts_.Year, 4);
          p += count;
          break;
        case 'M':
          if (count <= 2)
            AppendNumber(out_, parts_.Month, count);
          else if (count == 3)
            out_ += s_.ShortMonthNames[parts_.Month - 1];
          else
            out_ += s_.LongMonthNames[parts_.Month - 1];
          p += count;
          break;
        case 'D':
          if (count <= 2)
            AppendNumber(out_, parts_.Day, count);
          else if (count == 3)
            out_ += s_.ShortDayNames[parts_.DayOfWeek - 1];
          else if (count == 4)
            out_ += s_.LongDayNames[parts_.DayOfWeek - 1];
          else
            Nested(count == 5 ? s_.ShortDateFormat : s_.LongDateFormat, depth);
          p += count;
          break;
        case 'H': {
          int hour = parts_.Hour;
          if (TwelveHourClock(p + count)) hour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
          AppendNumber(out_, hour, count > 2 ? 2 : count);
          p += count;
          break;
        }
        case 'N':
          AppendNumber(out_, parts_.Minute, count > 2 ? 2 : count);
          p += count;
          break;
        case 'S':
          AppendNumber(out_, parts_.Second, count > 2 ? 2 : count);
          p += count;
          break;
        case 'Z':
          AppendNumber(out_, parts_.Millisecond, count > 1 ? 3 : 1);
          p += count;
          break;
        case 'T':
          Nested(count == 1 ? s_.ShortTimeFormat : s_.LongTimeFormat, depth);
          p += count;
          break;
        case 'C':
          Nested(s_.ShortDateFormat, depth);
          if (parts_.Hour || parts_.Minute || parts_.Second || parts_.Millisecond) {
            out_ += ' ';
            Nested(s_.LongTimeFormat, depth);
          }
          p += count;
          break;
        case 'A':
          p = AppendAmPm(p);
          break;
        case '/':
          if (s_.DateSeparator) out_ += s_.DateSeparator;
          ++p;
          break;
        case ':':
          if (s_.TimeSeparator) out_ += s_.TimeSeparator;
          ++p;
          break;
        case '"':
        case '\'': {
          const char* close = std::strchr(p + 1, c);
          const char* stop = close ? close : p + std::strlen(p);
          out_.append(p + 1, stop);
          p = close ? close + 1 : stop;
          break;
        }
        default:
          out_ += c;
          ++p;
          break;
      }
    }
  }

  std::string Result() const { return out_; }

 private:
  // How many times the letter at p repeats (letter case ignored).
  static int Count(const char* p) {
    const char letter = UpCase(*p);
    if (letter < 'A' || letter > 'Z') return 1;
    int n = 1;
    while (UpCase(p[n]) == letter) ++n;
    return n;
  }

  // Whether an AM/PM token follows the hour before the next hour token (quotes skipped).
  static bool TwelveHourClock(const char* p) {
    bool quoted = false;
    char quote = 0;
    for (; *p; ++p) {
      if (quoted) {
        if (*p == quote) quoted = false;
        continue;
      }
      if (*p == '"' || *p == '\'') {
        quoted = true;
        quote = *p;
      } else if (*p == 'a' || *p == 'A') {
        return StartsWithNoCase(p, "AM/PM") || StartsWithNoCase(p, "A/P") ||
               StartsWithNoCase(p, "AMPM");
      } else if (*p == 'h' || *p == 'H') {
        return false;
      }
    }
    return false;
  }

  const char* AppendAmPm(const char* p) {
    const bool pm = parts_.Hour >= 12;
    if (StartsWithNoCase(p, "AM/PM")) {
      out_.append(pm ? p + 3 : p, 2);
      return p + 5;
    }
    if (StartsWithNoCase(p, "A/P")) {
      out_ += pm ? p[2] : p[0];
      return p + 3;
    }
    if (StartsWithNoCase(p, "AMPM")) {
      out_ += pm ? s_.TimePMString : s_.TimeAMString;
      return p + 4;
    }
    out_ += *p;
    return p + 1;
  }

  // A format inside a format (short date in "c", ...), at most two levels deep.
  void Nested(const std::string& format, int depth) {
    if (depth < 2) Append(format.c_str(), depth + 1);
  }

  TDateTimeParts parts_;
  const TFormatSettings& s_;
  std::string out_;
};

}  // namespace

std::string FormatDateTime(const std::string& format, TDateTime value) {
  TDateFormatter formatter(value, FormatSettings());
  formatter.Append(format.empty() ? "c" : format.c_str(), 0);
  return formatter.Result();
}
