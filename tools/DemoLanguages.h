// The language records of a demo installation: the English and the Hebrew system language
// records in SysRec (a header line of quoted column names, then one line of quoted values per
// record) and one LangUser row that overrides an English text.
#pragma once

#include <string>

class TAceConnection;

// The memo of the system language record of langId ("LNGENG" or "LNGHEB").
std::string DemoLanguageMemo(const std::string& langId);
// Inserts both system language records and the LangUser override.
void FillDemoLanguages(TAceConnection& db);

// The English record the LangUser row overrides, and the value it gives it.
inline constexpr const char* DemoOverriddenRecId = "CARD_COMPANY";
inline constexpr const char* DemoOverriddenValue = "Customer";
