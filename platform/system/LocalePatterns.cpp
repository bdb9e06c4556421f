#include "platform/system/LocalePatterns.h"

#include <cctype>

#include "common/DateUtils.h"

namespace {

// Expands the composite conversions into single ones.
std::string Expand(const std::string& fmt) {
  std::string out;
  for (size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != '%' || i + 1 >= fmt.size()) {
      out += fmt[i];
      continue;
    }
    char c = fmt[++i];
    if ((c == 'E' || c == 'O') && i + 1 < fmt.size()) c = fmt[++i];
    switch (c) {
      case 'D':
        out += "%m/%d/%y";
        break;
      case 'F':
        out += "%Y-%m-%d";
        break;
      case 'T':
        out += "%H:%M:%S";
        break;
      case 'R':
        out += "%H:%M";
        break;
      case 'r':
        out += "%I:%M:%S %p";
        break;
      default:
        out += '%';
        out += c;
    }
  }
  return out;
}

const char* Convert(char c) {
  switch (c) {
    case 'd':
      return "dd";
    case 'e':
      return "d";
    case 'm':
      return "mm";
    case 'Y':
      return "yyyy";
    case 'y':
      return "yy";
    case 'b':
    case 'h':
      return "mmm";
    case 'B':
      return "mmmm";
    case 'a':
      return "ddd";
    case 'A':
      return "dddd";
    case 'H':
    case 'I':
      return "hh";
    case 'k':
    case 'l':
      return "h";
    case 'M':
      return "nn";
    case 'S':
      return "ss";
    case 'p':
    case 'P':
      return "AMPM";
    case 'n':
    case 't':
      return " ";
    case '%':
      return "%";
    default:
      return "";
  }
}

TDelphiPattern Translate(const std::string& fmt, char separatorToken) {
  const std::string expanded = Expand(fmt);
  TDelphiPattern result;
  // The separator: the first literal character that follows a conversion and precedes another.
  for (size_t i = 0; i + 2 < expanded.size(); ++i) {
    if (expanded[i] == '%' && expanded[i + 1] != '%') {
      const size_t after = i + 2;
      if (after + 1 < expanded.size() && expanded[after] != '%' && expanded[after + 1] == '%' &&
          std::ispunct(static_cast<unsigned char>(expanded[after]))) {
        result.Separator = expanded[after];
        break;
      }
    }
  }
  std::string literal;
  auto flush = [&]() {
    bool letters = false;
    for (char c : literal) letters = letters || std::isalpha(static_cast<unsigned char>(c));
    result.Pattern += letters ? "\"" + literal + "\"" : literal;
    literal.clear();
  };
  for (size_t i = 0; i < expanded.size(); ++i) {
    const char c = expanded[i];
    if (c == '%' && i + 1 < expanded.size()) {
      const char conversion = expanded[++i];
      if (conversion == 'C' && i + 2 < expanded.size() && expanded[i + 1] == '%' &&
          expanded[i + 2] == 'y') {
        flush();
        result.Pattern += "yyyy";
        i += 2;
        continue;
      }
      const std::string converted = Convert(conversion);
      if (converted == " " || converted == "%") {
        literal += converted;
      } else {
        flush();
        result.Pattern += converted;
      }
    } else if (result.Separator && c == result.Separator) {
      flush();
      result.Pattern += separatorToken;
    } else if (c == '/' || c == ':' || c == '"' || c == '\'') {
      // Characters with a meaning of their own in the pattern language are quoted.
      flush();
      result.Pattern += c == '"' ? std::string("'\"'") : "\"" + std::string(1, c) + "\"";
    } else {
      literal += c;
    }
  }
  flush();
  return result;
}

}  // namespace

TDelphiPattern DateFormatFromLocale(const std::string& d_fmt) {
  return Translate(d_fmt, '/');
}

TDelphiPattern TimeFormatFromLocale(const std::string& t_fmt) {
  return Translate(t_fmt, ':');
}

std::string WithoutSeconds(const std::string& pattern) {
  const size_t at = pattern.find("ss");
  if (at == std::string::npos) return pattern;
  size_t from = at;
  // Take the separator (and blanks) before the seconds with them.
  while (from > 0 &&
         (pattern[from - 1] == ':' || pattern[from - 1] == ' ' || pattern[from - 1] == '.'))
    --from;
  // And the seconds' unit word after them (秒, 초): the non-ASCII text that follows directly.
  size_t to = at + 2;
  while (to < pattern.size() && static_cast<unsigned char>(pattern[to]) >= 0x80) ++to;
  return pattern.substr(0, from) + pattern.substr(to);
}

std::string LongDateFormatFor(const std::string& shortDate) {
  switch (GetDateOrder(shortDate)) {
    case TDateOrder::YMD:
      return "yyyy mmmm d, dddd";
    case TDateOrder::DMY:
      return "dddd, d mmmm yyyy";
    case TDateOrder::MDY:
      break;
  }
  return "dddd, mmmm d, yyyy";
}
