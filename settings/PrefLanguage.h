// What the preference load takes from the language dictionary.
#pragma once

#include <string>

// A catalogue name as the load compares it: formatted with the language id
// ("GEN_HELP_LINKS_%S" becomes "GEN_HELP_LINKS_LNGENG"); other names unchanged.
std::string PrefTokenName(const std::string& catalogueName);

// The value of an "LN" row: the VALUE of the language record stored under key, empty when there
// is none. Loads the dictionary on first use; its failures reach the caller.
std::string PrefLangValue(const std::string& key);
