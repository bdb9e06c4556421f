#include "common/StrUtils.h"

#include <cstring>

#include "common/FormatSettings.h"
#include "common/SysUtils.h"

std::string FirstUtf8Chars(const std::string& text, size_t count) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsUtf8Continuation(text[i])) continue;
    if (chars++ == count) return text.substr(0, i);
  }
  return text;
}

std::string BoolToYN(bool value) {
  return value ? "Y" : "N";
}

bool YNToBool(const std::string& text) {
  const std::string upper = UpperCase(text);
  return upper == "Y" || upper == "TRUE";
}

std::string DateOrderFormat(bool withTime) {
  const std::string format = UpperCase(FormatSettings().ShortDateFormat);
  std::string code = "ddmmyyyy";
  if (!format.empty() && format[0] == 'M') {
    code = "mmddyyyy";
  } else if (!format.empty() && format[0] == 'Y') {
    const size_t first = format.find_first_of("DM");
    code = first == std::string::npos ? "" : (format[first] == 'D' ? "ddmmyyyy" : "mmddyyyy");
  }
  return withTime ? code + "-hhmmss" : code;
}

std::string SplitOff(std::string& text, const std::string& separator) {
  const size_t at = separator.empty() ? std::string::npos : text.find(separator);
  std::string head;
  if (at == std::string::npos) {
    head.swap(text);
  } else {
    head = text.substr(0, at);
    text.erase(0, at + separator.size());
  }
  return head;
}

std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement) {
  if (find.empty()) return text;
  std::string result;
  size_t from = 0;
  for (size_t at; (at = text.find(find, from)) != std::string::npos; from = at + find.size())
    result.append(text, from, at - from).append(replacement);
  return result.append(text, from, std::string::npos);
}

std::string UrlEscape(const std::string& text) {
  static const char kEscaped[] = "$&+,/:;=?@ <>#%{}|\\^~[]`\"";
  static const char kHex[] = "0123456789ABCDEF";
  std::string result;
  int breaks = 0;
  for (char c : text) {
    if (c == '\r' || c == '\n' || c == '\t') {
      if (breaks++ > 0) continue;
      c = ' ';
    } else {
      breaks = 0;
    }
    if (c != '\0' && std::strchr(kEscaped, c)) {
      const auto byte = static_cast<unsigned char>(c);
      result += '%';
      result += kHex[byte >> 4];
      result += kHex[byte & 15];
    } else {
      result += c;
    }
  }
  return result;
}

std::string RemoveInvalidFileNameChars(const std::string& text) {
  static const char kInvalid[] = "\"*/:<>?\\|";
  std::string result;
  for (char c : text)
    if (c == '\0' || !std::strchr(kInvalid, c)) result += c;
  return result;
}
