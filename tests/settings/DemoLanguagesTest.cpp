#include <gtest/gtest.h>

#include <sstream>

#include "settings/DatLangDM_Unit.h"
#include "tests/support/CrmTestInstall.h"
#include "tools/DemoInstall.h"
#include "tools/DemoLanguages.h"
#include "ui/FieldsExtractor.h"

namespace {

// GetLangRec as the program runs it in a fresh demo installation.
TLangRec DemoRec(const std::string& langId, const std::string& key) {
  TCrmTestInstall platform;  // the fakes, the engine and the log
  TDemoInstallOptions options;
  options.Root = platform.Path("demo/CRM");
  options.Documents = 0;
  options.Cards = 0;
  std::ostringstream out, err;
  EXPECT_EQ(RunDemoInstall(options, out, err), 0) << err.str();
  platform.System->ProgramFile = platform.System->ModulePath =
      options.Root + "/Utils/VrlChangeDocsPath";
  FreeDBConnectionDM();
  LoadSystemFolderDefaults();
  EXPECT_TRUE(MainConnectionIsOpen());
  SetBuildLangId(langId);
  TLangRec rec;
  GetLangRec(key, rec);
  FreeDatLangDM();
  SetBuildLangId("");
  return rec;
}

}  // namespace

TEST(DemoLanguages, AFreshDemoInstallationGivesTheSeededTextsAndTheOverride) {
  TLangRec yes = DemoRec("", "gen_yes");
  EXPECT_EQ(yes.RECID, "GEN_YES");
  EXPECT_EQ(yes.VALUE, "Yes");
  TLangRec search = DemoRec("", "GEN_SEARCH");
  EXPECT_EQ(search.HINT, "Search by name, phone or e-mail");
  TLangRec company = DemoRec("", DemoOverriddenRecId);
  EXPECT_EQ(company.VALUE, DemoOverriddenValue);
  EXPECT_EQ(company.HINT, "");  // the overlay replaced all six texts

  TLangRec hebrewCompany = DemoRec("LNGHEB", DemoOverriddenRecId);
  EXPECT_EQ(hebrewCompany.VALUE, "חברה");  // the override is English only
  EXPECT_EQ(hebrewCompany.HINT, "שם החברה של הלקוח");
  EXPECT_EQ(DemoRec("LNGHEB", "PRICE_VAT").VALUE, "מע\"מ");
}

TEST(DemoLanguages, EveryLineOfBothMemosHasTheSevenHeaderColumns) {
  for (const char* langId : {"LNGENG", "LNGHEB"}) {
    std::istringstream memo(DemoLanguageMemo(langId));
    std::string line;
    int lines = 0;
    while (std::getline(memo, line)) {
      int fields = 0;
      TFieldsExtractor extractor;
      extractor.OnField = [&](TFieldsExtractor&, int, const std::string&) { ++fields; };
      extractor.ExtractFieldsFromRec(line);
      EXPECT_EQ(fields, 7) << langId << ": " << line;
      ++lines;
    }
    EXPECT_GE(lines, 30) << langId;
  }
}
