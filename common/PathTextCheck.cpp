#include "common/PathTextCheck.h"

#include "common/StrUtils.h"

TPathTextFault CheckPathText(const std::string& text) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return TPathTextFault::ControlCharacter;
    // U+0080..U+009F (the C1 controls) are C2 80..C2 9F in UTF-8.
    if (c == 0xC2 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0x9F) return TPathTextFault::ControlCharacter;
    }
    if (!IsUtf8Continuation(text[i])) ++characters;
  }
  return characters > MaxPathTextLength ? TPathTextFault::TooLong : TPathTextFault::None;
}

int PathTextFaultMessage(TPathTextFault fault, bool newPath) {
  switch (fault) {
    case TPathTextFault::ControlCharacter:
      return newPath ? 64872 : 64871;
    case TPathTextFault::TooLong:
      return newPath ? 64874 : 64873;
    case TPathTextFault::None:
      break;
  }
  return 0;
}
