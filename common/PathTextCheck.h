// The rule for the path texts a user types as the old and the new documents folder: a path is
// UTF-8 text, never holds a control character (line ends, tabs, NUL, DEL, the C1 controls), nor a
// character that turns the direction of the text or breaks its line (the bidirectional
// embeddings, overrides and isolates U+202A..U+202E and U+2066..U+2069, the line and paragraph
// separators U+2028 and U+2029), and never runs beyond 32,767 characters. Both programs check
// both paths with it before anything is written, so such a text can neither be stored in the
// records nor forge or garble a line of the log or of the list of runs. It holds on every
// engine: the local one would store any bytes.
#pragma once

#include <string>

#include "common/StrIds.h"

inline constexpr size_t MaxPathTextLength = 32767;

enum class TPathTextFault {
  None,
  ControlCharacter,
  TooLong,
  InvalidUtf8,
  LayoutCharacter,  // a direction embedding, override or isolate, a line or paragraph separator
};

// The first fault of the text, or None. Length counts characters (UTF-8 sequences), not bytes.
TPathTextFault CheckPathText(const std::string& text);

// How many bytes at the start of text are well-formed UTF-8 (text.size() when all are).
size_t ValidUtf8Length(const std::string& text);

// The string-table number of the message that refuses the fault in the old or the new path;
// sNoText for None.
TStrId PathTextFaultMessage(TPathTextFault fault, bool newPath);
