#include "common/Format.h"

#include <vector>

#include "common/SysUtils.h"

namespace {

[[noreturn]] void FormatError(const std::string& format) {
  throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

}  // namespace

std::string Format(const std::string& format, std::initializer_list<TFormatArg> args) {
  const std::vector<TFormatArg> list(args);
  size_t next = 0;
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (++i >= format.size()) FormatError(format);
    const char kind = format[i];
    if (kind == '%') {
      out += '%';
      continue;
    }
    if (next >= list.size()) FormatError(format);
    const auto& value = list[next++].Value();
    if (kind == 's' || kind == 'S') {
      if (!std::holds_alternative<std::string>(value)) FormatError(format);
      out += std::get<std::string>(value);
    } else if (kind == 'd' || kind == 'D') {
      if (!std::holds_alternative<int64_t>(value)) FormatError(format);
      out += std::to_string(std::get<int64_t>(value));
    } else {
      FormatError(format);
    }
  }
  return out;
}
