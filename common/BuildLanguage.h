// The language a build is made for: its id is the string resource sLangId ("LNGENG" in this
// build) unless a build for another language, or a test, sets its own. The language dictionary,
// the help links and the client upgrade check all decide on it.
#pragma once

#include <string>

inline constexpr const char* kEnglishLangId = "LNGENG";
inline constexpr const char* kHebrewLangId = "LNGHEB";

// The program's language id.
std::string GetLangId();
// The language id a build is made for ("LNGHEB" selects the Hebrew texts); empty: the string
// resource. At most 15 bytes are kept. Set it before the first dictionary load: the dictionary
// is loaded only once.
void SetBuildLangId(const std::string& langId);
