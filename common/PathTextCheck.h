// The rule for the path texts a user types as the old and the new documents folder: a Windows
// path never holds a control character (line ends, tabs, NUL, DEL, the C1 controls) and never
// runs beyond 32,767 characters. Both programs check both paths with it before anything is
// written, so such a text can neither be stored in the records nor forge a line of the log.
#pragma once

#include <string>

inline constexpr size_t MaxPathTextLength = 32767;

enum class TPathTextFault {
  None,
  ControlCharacter,
  TooLong,
};

// The first fault of the text, or None. Length counts characters (UTF-8 sequences), not bytes.
TPathTextFault CheckPathText(const std::string& text);

// The string-table number of the message that refuses the fault in the old or the new path;
// 0 for None.
int PathTextFaultMessage(TPathTextFault fault, bool newPath);
