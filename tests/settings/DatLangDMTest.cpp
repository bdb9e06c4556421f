#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "settings/DatLangDM_Unit.h"
#include "tests/support/CrmTestInstall.h"

void PrintTo(const TLangRec& rec, std::ostream* out) {
  *out << "{" << rec.RECID << " | " << rec.NAME << " | " << rec.LABEL << " | " << rec.COLUMNTITLE
       << " | " << rec.HINT << " | " << rec.VALUE << "}";
}

namespace {

const std::string kHeader = R"("LANGID","RECID","HINT","NAME","VALUE","LABEL","COLUMNTITLE")";

TLangRec Lang(const char* recId, const char* name, const char* label, const char* title,
              const char* hint, const std::string& value) {
  TLangRec rec;
  rec.RECID = recId;
  rec.NAME = name;
  rec.LABEL = label;
  rec.COLUMNTITLE = title;
  rec.HINT = hint;
  rec.VALUE = value;
  return rec;
}

// A test installation whose main connection is open; the language module is freed afterwards.
class DatLangDMTest : public ::testing::Test {
 protected:
  DatLangDMTest() { EXPECT_TRUE(MainConnectionIsOpen()); }
  ~DatLangDMTest() override {
    FreeDatLangDM();
    SetBuildLangId("");
  }

  void Exec(const std::string& sql, const TAceParams& params = {}) {
    install.Open()->ExecSQL(sql, params);
  }
  void SysRec(const std::string& recId, const std::string& memo) {
    Exec("INSERT INTO SysRec (RECID, MEMO) VALUES (:RecId, :Memo)",
         {{"RecId", recId}, {"Memo", memo}});
  }
  void LangUser(const std::string& langId, const std::string& recId, const std::string& value) {
    Exec(
        "INSERT INTO LangUser (LANGID, RECID, NAME, VALUE, LABEL) VALUES (:L, :R, 'user', :V, "
        "'user label')",
        {{"L", langId}, {"R", recId}, {"V", value}});
  }
  static TLangRec Rec(const std::string& key) {
    TLangRec rec;
    rec.VALUE = "not set";  // an unknown key must clear it
    GetLangRec(key, rec);
    return rec;
  }

  TCrmTestInstall install;
};

}  // namespace

TEST_F(DatLangDMTest, LoadsTheSystemRecordAndOverlaysTheUserTexts) {
  const std::string longValue(200, 'v');
  SysRec("SYSRECLANGENGZZZZZZZ",
         kHeader + "\r\n" + R"("LNGENG","GEN_YES","Yes hint","Yes","Yes","&Yes","Yes")" + "\r\n" +
             R"(  "LNGENG" , "Gen_No", "", "No", "No "really"", "&No", "" )" + "\n" +
             R"("LNGENG","GEN_YES","dup","dup","dup","dup","dup")" + "\n" +
             "\n" +  // a blank line is an empty record under an empty key
             R"(stray "LNGENG","CUT","x","n",")" + longValue + "\"\r\n" +
             R"("LNGENG","UNCLOSED","h","n","v)" + "\r\n" +
             R"("LNGENG","REPLACED","h","n","source value","l","c")" + "\r\n");
  SysRec("SYSRECLANGHEBZZZZZZZ", kHeader + "\r\n" + R"("LNGHEB","GEN_YES","","","כן","","")");
  LangUser("LNGENG", "replaced", "user value");
  LangUser("LNGENG", "NEW_ONE", "added value");
  LangUser("LNGHEB", "GEN_NO", "hebrew only");

  const struct {
    const char* key;
    TLangRec want;
  } cases[] = {
      // Letter case aside; the first record of a key stays.
      {"gen_yes", Lang("GEN_YES", "Yes", "&Yes", "Yes", "Yes hint", "Yes")},
      {"GEN_NO", Lang("Gen_No", "No", "&No", "", "", "No \"really\"")},
      // Stray text is skipped; the value is cut to VALUE's 150 characters.
      {"CUT", Lang("CUT", "n", "", "", "x", longValue.substr(0, 150))},
      // A line whose last quote never closes gives the fields before it.
      {"UNCLOSED", Lang("UNCLOSED", "n", "", "", "h", "")},
      // The overlay replaces all six texts of a present record, or adds one.
      {"REPLACED", Lang("replaced", "user", "user label", "", "", "user value")},
      {"new_one", Lang("NEW_ONE", "user", "user label", "", "", "added value")},
  };
  for (const auto& c : cases) EXPECT_EQ(Rec(c.key), c.want) << c.key;
  EXPECT_EQ(Rec("NO_SUCH_KEY"), TLangRec());
  EXPECT_EQ(DatLangDM->Dictionary()->BucketCount(), 311u);
  EXPECT_EQ(DatLangDM->Dictionary()->Count(), 7u);  // YES, NO, "", CUT, UNCLOSED, REPLACED, NEW
  EXPECT_FALSE(DatLangDM->LangUserQry.Active());
  EXPECT_FALSE(DatLangDM->SysRecQry.Active());

  // Loaded once: later changes are not seen.
  Exec("DELETE FROM SysRec");
  LangUser("LNGENG", "LATER", "later");
  EXPECT_EQ(Rec("GEN_YES").VALUE, "Yes");
  EXPECT_EQ(Rec("LATER"), TLangRec());
}

TEST_F(DatLangDMTest, TheHebrewIdSelectsTheHebrewRecordAndItsUserTexts) {
  SysRec("SYSRECLANGENGZZZZZZZ", kHeader + "\n" + R"("LNGENG","GEN_YES","","","Yes","","")");
  SysRec("SYSRECLANGHEBZZZZZZZ", kHeader + "\n" + R"("LNGHEB","GEN_YES","","","כן","","")");
  LangUser("LNGENG", "GEN_NO", "No");
  LangUser("LNGHEB", "GEN_NO", "לא");
  EXPECT_EQ(GetLangId(), "LNGENG");
  EXPECT_EQ(FormatWithLangId("GEN_HELP_LINKS_%S"), "GEN_HELP_LINKS_LNGENG");
  SetBuildLangId("LNGHEB");
  EXPECT_EQ(FormatWithLangId("GEN_HELP_LINKS_%S"), "GEN_HELP_LINKS_LNGHEB");
  EXPECT_EQ(Rec("GEN_YES").VALUE, "כן");
  EXPECT_EQ(Rec("GEN_NO").VALUE, "לא");
}

TEST_F(DatLangDMTest, TheMarkerFileMakesTheLangTableTheSource) {
  std::ofstream(install.Path("Utils/SysRecDisabled.Ini")) << "";
  // No system record at all: it is not read.
  Exec(
      "INSERT INTO Lang (LANGID, RECID, VALUE) VALUES ('LNGENG', 'GEN_YES', 'Yes from Lang'), "
      "('LNGHEB', 'GEN_YES', 'כן'), ('LNGENG', 'gen_yes', 'second'), ('LNGENG', 'GEN_NO', "
      "'No')");
  LangUser("LNGENG", "GEN_NO", "No from LangUser");
  EXPECT_EQ(Rec("Gen_Yes").VALUE, "Yes from Lang");
  EXPECT_EQ(Rec("GEN_NO").VALUE, "No from LangUser");
  EXPECT_EQ(DatLangDM->Dictionary()->Count(), 2u);
  EXPECT_FALSE(DatLangDM->LangQry.Active());
}

TEST_F(DatLangDMTest, AHeaderOnlyMemoLeavesOnlyTheOverlay) {
  SysRec("SYSRECLANGENGZZZZZZZ", kHeader + "\r\n");
  LangUser("LNGENG", "GEN_NO", "No");
  EXPECT_EQ(Rec("GEN_NO").VALUE, "No");
  EXPECT_EQ(DatLangDM->Dictionary()->Count(), 1u);
}

TEST_F(DatLangDMTest, AFailedLoadReachesTheCallerOnceAndIsNotRepeated) {
  const struct {
    const char* what;
    std::string memo;  // empty: no system record
  } cases[] = {
      {"a header name that is no column", R"("RECID","VALUE","COLOR")"
                                          "\n"
                                          R"("A","a","red")"},
      {"more values than header names", R"("RECID","VALUE")"
                                        "\n"
                                        R"("A","a","extra")"},
      {"no system record", ""},
  };
  for (const auto& c : cases) {
    Exec("DELETE FROM SysRec");
    if (!c.memo.empty()) SysRec("SYSRECLANGENGZZZZZZZ", c.memo);
    TLangRec rec;
    rec.VALUE = "untouched";
    EXPECT_THROW(GetLangRec("A", rec), EDatabaseError) << c.what;
    EXPECT_EQ(rec.VALUE, "untouched") << c.what;
    EXPECT_FALSE(DatLangDM->SysRecQry.Active()) << c.what;
    ASSERT_NE(DatLangDM->Dictionary(), nullptr) << c.what;
    EXPECT_EQ(DatLangDM->Dictionary()->Count(), 0u) << c.what;
    // Not loaded again: the mended record is not seen.
    Exec("DELETE FROM SysRec");
    SysRec("SYSRECLANGENGZZZZZZZ", R"("RECID","VALUE")"
                                   "\n"
                                   R"("A","a")");
    EXPECT_NO_THROW(GetLangRec("A", rec)) << c.what;
    EXPECT_EQ(rec, TLangRec()) << c.what;
    FreeLangDictionary();  // the reset tests use: the next call loads again
    GetLangRec("A", rec);
    EXPECT_EQ(rec.VALUE, "a") << c.what;
    FreeLangDictionary();
  }
}
