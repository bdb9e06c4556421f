#include "settings/PrefLanguage.h"

#include "settings/DatLangDM_Unit.h"

std::string PrefTokenName(const std::string& catalogueName) {
  if (catalogueName.find('%') == std::string::npos) return catalogueName;
  return FormatWithLangId(catalogueName);
}

std::string PrefLangValue(const std::string& key) {
  TLangRec rec;
  GetLangRec(key, rec);
  return rec.VALUE;
}
