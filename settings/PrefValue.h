// The tagged value a Pref row's text becomes under its type letter, and its conversion to the
// kind of the field it is stored in. A value that does not convert to the field's kind raises
// EVariantError (a text that is no number going into an integer field, for example).
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "common/StrUtils.h"
#include "settings/PrefRecords.h"

// A date-time value (days since 30 December 1899), kept apart from plain floats.
struct TPrefDateTime {
  double Value = 0;
  bool operator==(const TPrefDateTime&) const = default;
};

using TPrefValue = std::variant<std::string, int64_t, bool, double, TPrefDateTime>;

// Text form: texts unchanged; integers in decimal; booleans "True" / "False"; floats with up to
// 15 significant digits and the process decimal separator; date-times as DateTimeToStr.
std::string PrefValueToText(const TPrefValue& value);
// Integer: integers; booleans -1 / 0; floats and date-times rounded (half to even); texts
// holding a number. Outside the 32-bit range or not a number: EVariantError.
int32_t PrefValueToInt(const TPrefValue& value);
// Boolean: booleans; numbers not 0; texts "True" / "False" (any case) or a number.
bool PrefValueToBool(const TPrefValue& value);
// Float: numbers, booleans -1 / 0, texts holding a number.
double PrefValueToFloat(const TPrefValue& value);

// Stores value into a field of kind K: e keeps the low 8 bits of the integer, s the first 255
// characters (whole UTF-8 characters, never cut inside a letter) of the text.
template <TPrefKind K>
void StorePrefValue(TPrefFieldType<K>& field, const TPrefValue& value) {
  if constexpr (K == TPrefKind::t) {
    field = PrefValueToText(value);
  } else if constexpr (K == TPrefKind::s) {
    field = FirstUtf8Chars(PrefValueToText(value), kPrefFixedTextChars);
  } else if constexpr (K == TPrefKind::i) {
    field = PrefValueToInt(value);
  } else if constexpr (K == TPrefKind::e) {
    field = static_cast<uint8_t>(PrefValueToInt(value) & 0xFF);
  } else if constexpr (K == TPrefKind::b) {
    field = PrefValueToBool(value);
  } else {
    field = PrefValueToFloat(value);
  }
}
