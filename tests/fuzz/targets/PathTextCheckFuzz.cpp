// The check of a typed old or new path: any bytes, no read beyond them, and its answer keeps
// what the rule promises: a control byte is always a fault, a fault stays one inside a longer
// text, the length counts characters (never more of them than bytes), and plain printable text
// is refused only for its length. Input: the text.
#include "common/PathTextCheck.h"
#include "tests/fuzz/targets/FuzzSupport.h"

namespace {

bool HasControlByte(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

bool IsPrintableAscii(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
  return true;
}

// text repeated up to length bytes, the last copy cut.
std::string Repeated(const std::string& text, size_t length) {
  std::string result;
  result.reserve(length);
  while (result.size() < length) result.append(text, 0, length - result.size());
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = FuzzText(data, size);
  const TPathTextFault fault = CheckPathText(text);
  FUZZ_CHECK((PathTextFaultMessage(fault, false) == 0) == (fault == TPathTextFault::None));
  FUZZ_CHECK((PathTextFaultMessage(fault, true) == 0) == (fault == TPathTextFault::None));
  if (HasControlByte(text)) FUZZ_CHECK(fault != TPathTextFault::None);
  if (text.size() <= MaxPathTextLength) FUZZ_CHECK(fault != TPathTextFault::TooLong);
  if (fault != TPathTextFault::None)
    FUZZ_CHECK(CheckPathText("a" + text + "a") != TPathTextFault::None);
  if (!text.empty() && IsPrintableAscii(text)) {
    FUZZ_CHECK(fault == TPathTextFault::None || text.size() > MaxPathTextLength);
    FUZZ_CHECK(CheckPathText(Repeated(text, MaxPathTextLength)) == TPathTextFault::None);
    FUZZ_CHECK(CheckPathText(Repeated(text, MaxPathTextLength + 1)) == TPathTextFault::TooLong);
  }
  return 0;
}
