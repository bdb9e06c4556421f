#include "settings/PrefLanguage.h"

#include "common/Format.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"

// Until the language dictionary is part of the program, the language id is read from the string
// table directly and an "LN" row fails the load as a failure of ours (result 2).
std::string PrefTokenName(const std::string& catalogueName) {
  if (catalogueName.find('%') == std::string::npos) return catalogueName;
  return Format(catalogueName, {LoadStr(65196)});
}

std::string PrefLangValue(const std::string& key) {
  throw Exception("No language dictionary to read the text " + key + " from");
}
