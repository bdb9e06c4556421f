#include "common/SysUtils.h"

#include <cxxabi.h>
#include <locale>
#include <sstream>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "common/FormatSettings.h"

std::string ExceptionClassName(const std::exception& e) {
  if (auto* own = dynamic_cast<const Exception*>(&e)) return own->ClassName();
  // Others by their C++ name, e.g. "std::runtime_error".
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(
      abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(typeid(e).name());
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = UpCase(c);
  return text;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpCase(a[i]) != UpCase(b[i])) return false;
  return true;
}

std::string Trim(const std::string& text) {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t first = 0, last = text.size();
  while (first < last && isBlank(text[first])) ++first;
  while (last > first && isBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool TryStrToInt(const std::string& text, int64_t& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
  if (i == t.size()) return false;
  int64_t n = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    const int digit = t[i] - '0';
    if (n > (INT64_MAX - digit) / 10) return false;
    n = n * 10 + digit;
  }
  value = t[0] == '-' ? -n : n;
  return true;
}

bool TryStrToFloat(const std::string& text, double& value) {
  const std::string t = Trim(text);
  const char decimal = FormatSettings().DecimalSeparator;
  // Only the process decimal separator counts; the text is rewritten for the C locale's ".".
  std::string c;
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) c += t[i++];
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      c += t[i];
      digits = true;
    } else if (t[i] == decimal && !point) {
      c += '.';
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    c += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) c += t[i++];
    const size_t start = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') c += t[i++];
    if (i == start) return false;
  }
  if (i != t.size()) return false;
  std::istringstream in(c);
  in.imbue(std::locale::classic());
  double d = 0;
  if (!(in >> d)) return false;
  value = d;
  return true;
}

int64_t StrToInt(const std::string& text) {
  int64_t value = 0;
  if (!TryStrToInt(text, value)) throw EConvertError("'" + text + "' is not a valid integer value");
  return value;
}

double StrToFloat(const std::string& text) {
  double value = 0;
  if (!TryStrToFloat(text, value))
    throw EConvertError("'" + text + "' is not a valid floating point value");
  return value;
}
