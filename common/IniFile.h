// Reading settings files the way Windows programs read their ini files: section and key names
// without regard to case, ";" and "#" comment lines, CR LF or LF line ends, blanks around names
// and values trimmed, one pair of enclosing double quotes removed from a value. The first
// occurrence of a key in its section wins. Lines may be of any length. The file is open only
// during the call.
#pragma once

#include <string>

// True and the value when the file holds the key in the section; false (value untouched) when
// the file, the section or the key is missing or the file cannot be read.
bool ReadIniValue(const std::string& file, const std::string& section, const std::string& key,
                  std::string& value);
// The value, or defaultValue when ReadIniValue finds none.
std::string ReadIniString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& defaultValue);
