// Small text helpers shared by the product's programs.
#pragma once

#include <string>

// True for a UTF-8 continuation byte (10xxxxxx): it belongs to the character before it.
constexpr bool IsUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
// How many characters a UTF-8 text holds.
inline size_t Utf8Length(const std::string& text) {
  size_t characters = 0;
  for (char c : text) characters += IsUtf8Continuation(c) ? 0 : 1;
  return characters;
}
// The first count characters of a UTF-8 text, whole characters only: a field that keeps at most
// count characters is never cut inside a letter.
std::string FirstUtf8Chars(const std::string& text, size_t count);
// "Y" for true, "N" for false.
std::string BoolToYN(bool value);
// True when the text, upper-cased, is "Y" or "TRUE".
bool YNToBool(const std::string& text);
// The date-order code of the process short date format: "ddmmyyyy" or "mmddyyyy" (empty for a
// year-first format holding neither day nor month); with withTime, followed by "-hhmmss".
std::string DateOrderFormat(bool withTime);
// Returns the part of text before the first separator and removes it and the separator from
// text; without the separator (or with an empty one) returns all of text and empties it.
std::string SplitOff(std::string& text, const std::string& separator);
// Every occurrence of find (left to right, no overlap, with case) replaced; an empty find
// leaves the text unchanged.
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement);
// URL escaping: the 25 reserved characters as "%XX"; each run of CR, LF and tab becomes one
// blank (escaped "%20"); every other byte, above 127 included, passes unchanged.
std::string UrlEscape(const std::string& text);
// The text without the nine characters a file name cannot hold: " * / : < > ? \ |
std::string RemoveInvalidFileNameChars(const std::string& text);
// The colour of help links, a Windows colour value (0x00BBGGRR): blue 183, green 91, red 0.
constexpr int LinkColour() {
  return 12016384;
}
