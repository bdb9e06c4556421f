// The type letters of the Pref table's values (column TOKENTYPE, compared upper-cased): which of
// them hold text that the preference store keeps as stored. The store converts every other
// letter (I, B, N, T, D, DT, LN) to a number, a flag or a date.
#pragma once

#include <string>

// "A", "M" and "CI", in any letter case.
bool IsTextPrefType(const std::string& tokenType);
