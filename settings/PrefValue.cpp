#include "settings/PrefValue.h"

#include <cmath>
#include <cstdio>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "common/SysUtils.h"

namespace {

[[noreturn]] void CannotConvert(const std::string& from, const char* to) {
  throw EVariantError("Could not convert variant of type (" + from + ") into type (" + to + ")");
}

const char* TypeName(const TPrefValue& value) {
  static constexpr const char* kNames[] = {"String", "Int64", "Boolean", "Double", "Date"};
  return kNames[value.index()];
}

int32_t RoundToInt(double number, const TPrefValue& value) {
  const double rounded = std::nearbyint(number);  // the default rounding: half to even
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) CannotConvert(TypeName(value), "Integer");
  return static_cast<int32_t>(rounded);
}

}  // namespace

std::string PrefValueToText(const TPrefValue& value) {
  if (auto* text = std::get_if<std::string>(&value)) return *text;
  if (auto* number = std::get_if<int64_t>(&value)) return std::to_string(*number);
  if (auto* flag = std::get_if<bool>(&value)) return *flag ? "True" : "False";
  if (auto* date = std::get_if<TPrefDateTime>(&value)) return DateTimeToStr(date->Value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", std::get<double>(value));
  std::string text = buffer;
  for (char& c : text)
    if (c == '.') c = FormatSettings().DecimalSeparator;
  return text;
}

int32_t PrefValueToInt(const TPrefValue& value) {
  if (auto* number = std::get_if<int64_t>(&value)) {
    if (*number < INT32_MIN || *number > INT32_MAX) CannotConvert("Int64", "Integer");
    return static_cast<int32_t>(*number);
  }
  if (auto* flag = std::get_if<bool>(&value)) return *flag ? -1 : 0;
  if (auto* date = std::get_if<TPrefDateTime>(&value)) return RoundToInt(date->Value, value);
  if (auto* number = std::get_if<double>(&value)) return RoundToInt(*number, value);
  const auto& text = std::get<std::string>(value);
  int64_t whole = 0;
  if (TryStrToInt(text, whole)) return PrefValueToInt(TPrefValue(whole));
  double real = 0;
  if (TryStrToFloat(text, real)) return RoundToInt(real, value);
  CannotConvert("String", "Integer");
}

bool PrefValueToBool(const TPrefValue& value) {
  if (auto* flag = std::get_if<bool>(&value)) return *flag;
  if (auto* text = std::get_if<std::string>(&value)) {
    if (SameText(Trim(*text), "True")) return true;
    if (SameText(Trim(*text), "False")) return false;
    double number = 0;
    if (!TryStrToFloat(*text, number)) CannotConvert("String", "Boolean");
    return number != 0;
  }
  return PrefValueToFloat(value) != 0;
}

double PrefValueToFloat(const TPrefValue& value) {
  if (auto* number = std::get_if<double>(&value)) return *number;
  if (auto* number = std::get_if<int64_t>(&value)) return static_cast<double>(*number);
  if (auto* flag = std::get_if<bool>(&value)) return *flag ? -1 : 0;
  if (auto* date = std::get_if<TPrefDateTime>(&value)) return date->Value;
  double number = 0;
  if (!TryStrToFloat(std::get<std::string>(value), number)) CannotConvert("String", "Double");
  return number;
}
