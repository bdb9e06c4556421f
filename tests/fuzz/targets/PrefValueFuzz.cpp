// A Pref row's text under its type letter, then stored into a field of every kind: the text
// either converts or is refused with the conversion errors the loader expects, never anything
// else; texts stay texts; integers stay in the 32-bit range and read back from their text; a
// date or time read is what the process formats show, so reading its text again gives the same
// value. Input: the type letter's number, the format set's number, then the value's text.
#include <cmath>
#include <iterator>
#include <memory>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "platform/Platform.h"
#include "settings/DatPrefDM_Unit.h"
#include "settings/PrefValue.h"
#include "tests/fuzz/targets/FuzzSupport.h"
#include "tests/support/FakeSystem.h"

namespace {

// "LN" is left out: it looks the text up in the language table of the database.
const char* const Letters[] = {"A", "m", "CI", "I", "B", "N", "T", "D", "DT", "dt", "Q", ""};

struct TFormatSet {
  const char* ShortDate;
  const char* ShortTime;
  char DateSeparator;
};
const TFormatSet FormatSets[] = {
    {"dd/mm/yyyy", "hh:nn", '/'},
    {"m/d/yyyy", "h:nn AMPM", '/'},
    {"yyyy-mm-dd", "hh:nn:ss", '-'},
    {"d.m.yy", "hh:nn", '.'},
    {"yyyy\xE5\xB9\xB4m\xE6\x9C\x88"
     "d\xE6\x97\xA5",
     "h\xE6\x99\x82nn\xE5\x88\x86", '/'},
};

// The format settings and the clock (two-digit years are read around the current year) for one
// input, put back afterwards.
class TFuzzFormats {
 public:
  explicit TFuzzFormats(const TFormatSet& set) : saved_(FormatSettings()) {
    FormatSettings().ShortDateFormat = set.ShortDate;
    FormatSettings().ShortTimeFormat = set.ShortTime;
    FormatSettings().DateSeparator = set.DateSeparator;
    Platform().SetSystem(std::make_unique<TFakeSystem>());
  }
  ~TFuzzFormats() {
    Platform().SetSystem(nullptr);
    FormatSettings() = saved_;
  }

 private:
  TFormatSettings saved_;
};

template <TPrefKind K>
void Store(const TPrefValue& value) {
  TPrefFieldType<K> field{};
  try {
    StorePrefValue<K>(field, value);
  } catch (const EVariantError&) {
    FUZZ_CHECK(K != TPrefKind::t && K != TPrefKind::s);  // every value has a text
    return;
  }
  // A fixed text keeps whole characters: the value's text, cut after 255 of them.
  if constexpr (K == TPrefKind::s) {
    FUZZ_CHECK(Utf8Length(field) <= kPrefFixedTextChars);
    FUZZ_CHECK(PrefValueToText(value).starts_with(field));
  }
  if constexpr (K == TPrefKind::t) FUZZ_CHECK(field == PrefValueToText(value));
}

// The text the format shows for a date-time value of letter.
std::string Shown(const std::string& letter, double value) {
  const TFormatSettings& s = FormatSettings();
  if (letter == "T") return FormatDateTime(s.ShortTimeFormat, value);
  if (letter == "D") return FormatDateTime(s.ShortDateFormat, value);
  return FormatDateTime(s.ShortDateFormat + " " + s.ShortTimeFormat, value);
}

void CheckValue(const std::string& letter, const std::string& text, const TPrefValue& value) {
  if (letter == "A" || letter == "M" || letter == "CI") {
    FUZZ_CHECK(value == TPrefValue(text));
  } else if (letter == "I") {
    const int64_t number = std::get<int64_t>(value);
    FUZZ_CHECK(number >= INT32_MIN && number <= INT32_MAX);
    FUZZ_CHECK(PrefValueToInt(TPrefValue(PrefValueToText(value))) == number);
  } else if (letter == "B") {
    FUZZ_CHECK(value == TPrefValue(UpperCase(text) == "Y"));
  } else if (letter == "N") {
    // Fifteen significant digits: the text reads back as the number, but for the last digits.
    const double number = std::get<double>(value);
    if (std::isfinite(number)) {
      const double back = PrefValueToFloat(TPrefValue(PrefValueToText(value)));
      FUZZ_CHECK(std::fabs(back - number) <= std::fabs(number) * 1e-14);
    }
  } else if (letter == "T" || letter == "D" || letter == "DT") {
    const double number =
        letter == "DT" ? std::get<TPrefDateTime>(value).Value : std::get<double>(value);
    FUZZ_CHECK(TokenValueToVariant(letter, Shown(letter, number)) == value);
  } else {
    FUZZ_CHECK(value == TPrefValue(int64_t{0}));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string letter = Letters[data[0] % std::size(Letters)];
  const TFuzzFormats formats(FormatSets[data[1] % std::size(FormatSets)]);
  const std::string text = FuzzText(data + 2, size - 2);
  TPrefValue value;
  try {
    value = TokenValueToVariant(letter, text);
  } catch (const EConvertError&) {
    return 0;
  }
  CheckValue(UpperCase(letter), text, value);
  Store<TPrefKind::t>(value);
  Store<TPrefKind::s>(value);
  Store<TPrefKind::i>(value);
  Store<TPrefKind::e>(value);
  Store<TPrefKind::b>(value);
  Store<TPrefKind::f>(value);
  return 0;
}
