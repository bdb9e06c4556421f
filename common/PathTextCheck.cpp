#include "common/PathTextCheck.h"

#include <cstdint>

namespace {

// The code point of the well-formed UTF-8 sequence at text[at] and its length in bytes; length
// 0 when the bytes there are no character (a stray continuation byte, a sequence cut short, an
// overlong form, a surrogate, beyond U+10FFFF).
struct TDecoded {
  char32_t CodePoint = 0;
  size_t Length = 0;
};

TDecoded DecodeUtf8(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[at + i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  size_t length = 0;
  char32_t codePoint = 0;
  uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // the surrogates U+D800..U+DFFF
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return {};
  }
  if (at + length > text.size()) return {};
  for (size_t i = 1; i < length; ++i) {
    const uint8_t next = byte(i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return {};
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  return {codePoint, length};
}

bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);  // C0, DEL and the C1 controls
}

bool IsLayoutCharacter(char32_t c) {
  return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029;
}

}  // namespace

TPathTextFault CheckPathText(const std::string& text) {
  size_t characters = 0;
  for (size_t at = 0; at < text.size(); ++characters) {
    const TDecoded decoded = DecodeUtf8(text, at);
    if (decoded.Length == 0) return TPathTextFault::InvalidUtf8;
    if (IsControl(decoded.CodePoint)) return TPathTextFault::ControlCharacter;
    if (IsLayoutCharacter(decoded.CodePoint)) return TPathTextFault::LayoutCharacter;
    at += decoded.Length;
  }
  return characters > MaxPathTextLength ? TPathTextFault::TooLong : TPathTextFault::None;
}

size_t ValidUtf8Length(const std::string& text) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t length = DecodeUtf8(text, at).Length;
    if (length == 0) break;
    at += length;
  }
  return at;
}

TStrId PathTextFaultMessage(TPathTextFault fault, bool newPath) {
  switch (fault) {
    case TPathTextFault::ControlCharacter:
      return newPath ? sNewPathControlChar : sOldPathControlChar;
    case TPathTextFault::TooLong:
      return newPath ? sNewPathTooLong : sOldPathTooLong;
    case TPathTextFault::InvalidUtf8:
      return newPath ? sNewPathNotUtf8 : sOldPathNotUtf8;
    case TPathTextFault::LayoutCharacter:
      return newPath ? sNewPathDirectionChar : sOldPathDirectionChar;
    case TPathTextFault::None:
      break;
  }
  return sNoText;
}
