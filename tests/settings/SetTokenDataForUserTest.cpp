#include "settings/SetTokenDataForUser.h"

#include "common/FormatSettings.h"
#include "common/StrTable.h"
#include "host/SysFolders.h"
#include "tests/settings/PrefTestInstall.h"

namespace {

using SetTokenData = PrefTest;

TEST_F(SetTokenData, EmptyPrefTableGivesTheDefaultsAndTheSystemFolders) {
  TDocPref untouched;
  untouched.MainFolder = "kept";
  GetDocPref(untouched);
  EXPECT_EQ(untouched.MainFolder, "kept");  // no store yet

  EXPECT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  const TDocPref doc = Doc();
  EXPECT_EQ(doc.MainFolder, DocsFolder());
  EXPECT_EQ(doc.TemplFolder, TemplatesFolder());
  EXPECT_TRUE(doc.AddDocByEmail);
  EXPECT_EQ(General().GEN_BKGRND_COLOR, 8421504);
  EXPECT_EQ(Records().Get<TEventPref>().E_CL_GN_LINE_HEIGHT_TYPE, "COZY");
  EXPECT_EQ(FormatSettings().ShortDateFormat, "");
  EXPECT_EQ(FormatSettings().ShortTimeFormat, " HH:MM");
  EXPECT_EQ(General().LongDateForm, "dddd, mmmm d, yyyy");
  EXPECT_NE(install.LogText().find("PrefDT:"), std::string::npos);
}

TEST_F(SetTokenData, LevelsOverrideInQueryOrder) {
  Row("-1", "DOC_MAIN_FOLDER", "A", "all users");
  Row("-2", "DOC_MAIN_FOLDER", "A", "system");
  Row("-1", "DOC_TEMPL_FOLDER", "A", "all users templates");
  Row("dana", "DOC_TEMPL_FOLDER", "A", "dana's templates");
  Row("-1", "DOC_FILE_FOR_TEMPLATE", "A", "all users file");
  Row("DANA", "DOC_FILE_FOR_TEMPLATE", "A", "");  // her own row, empty, still excludes "-1"
  Row("yossi", "DOC_DEF_TEMPLATE_FOR_DOC", "A", "yossi's");

  ASSERT_EQ(SetTokenDataForUser("Dana"), stdLoaded);
  TDocPref doc = Doc();
  EXPECT_EQ(doc.MainFolder, "system");
  EXPECT_EQ(doc.TemplFolder, "dana's templates");
  EXPECT_EQ(doc.FileForTemplate, "");
  EXPECT_EQ(doc.DefTemplateForDoc, "");

  ASSERT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  doc = Doc();
  EXPECT_EQ(doc.TemplFolder, "all users templates");
  EXPECT_EQ(doc.FileForTemplate, "all users file");
  EXPECT_EQ(doc.DefTemplateForDoc, "");
}

TEST_F(SetTokenData, UserIdHoldingQuotesIsReadAsData) {
  Row("-1", "DOC_MAIN_FOLDER", "A", "all users");
  Row("O'BRIEN", "DOC_MAIN_FOLDER", "A", "his own");
  Row("-1", "DOC_TEMPL_FOLDER", "A", "all users templates");
  ASSERT_EQ(SetTokenDataForUser("o'brien"), stdLoaded);
  EXPECT_EQ(Doc().MainFolder, "his own");
  EXPECT_EQ(Doc().TemplFolder, "all users templates");

  // A user id crafted to widen the query reads nobody's rows but its own (none).
  ASSERT_EQ(SetTokenDataForUser("x') OR 1=1 OR ('a'='a"), stdLoaded);
  EXPECT_EQ(Doc().MainFolder, "all users");
}

TEST_F(SetTokenData, DerivedValuesComeFromCardsAndCurrencies) {
  Sql("INSERT INTO Cards (RECID, COMPANY) VALUES ('C1', 'First'), ('C2', 'Varnel Demo Ltd')");
  Sql("INSERT INTO valtblacoin (RECID, VALUE, EVALUE) VALUES (1, 'NIS', 'Shekel'), (2, '$', "
      "'US Dollar')");
  Row("-2", "GEN_CARD_ID", "A", "C2");
  Row("-2", "GEN_COIN_ID", "I", "2");
  Row("-1", "GEN_DATE_FORMAT", "A", "DD/MM/YYYY");
  Row("-1", "GEN_DATE_SEPARATOR", "A", ".-");
  Row("-1", "GEN_TIMEAMPM", "B", "y");
  ASSERT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  const TGeneralPref general = General();
  EXPECT_EQ(general.CompanyName, "Varnel Demo Ltd");
  EXPECT_EQ(general.CoinValue, "$");
  EXPECT_EQ(general.CoinEValue, "US Dollar");
  EXPECT_EQ(general.LongDateForm, "dddd d mmmm yyyy");
  EXPECT_EQ(general.ShortDayLongMonthForm, "ddd d mmmm");
  EXPECT_EQ(FormatSettings().ShortDateFormat, "DD/MM/YYYY");
  EXPECT_EQ(FormatSettings().LongDateFormat, "dddd d mmmm yyyy");
  EXPECT_EQ(FormatSettings().DateSeparator, '.');
  EXPECT_EQ(FormatSettings().ShortTimeFormat, " HH:MM AMPM");
  EXPECT_EQ(FormatSettings().LongTimeFormat, " HH:MM AMPM");
}

TEST_F(SetTokenData, FixedTextsAreCutAt255LettersNotBytes) {
  std::string hebrew;
  for (int i = 0; i < 300; ++i) hebrew += "\xD7\x90";  // alef, two bytes each
  const std::string cut = hebrew.substr(0, 2 * 255);
  Sql("INSERT INTO valtblacoin (RECID, VALUE, EVALUE) VALUES (1, 'NIS', '" + hebrew + "')");
  Row("-1", "GEN_COIN_ID", "I", "1");
  Row("-1", "N_KIND_DEF_FOR_EVENT", "A", hebrew);
  Row("-1", "N_KIND_DEF_FOR_TASK", "A", "x" + hebrew);
  ASSERT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  EXPECT_EQ(General().CoinEValue, cut);
  EXPECT_EQ(Records().Get<TNotesPref>().N_KIND_DEF_FOR_EVENT, cut);
  EXPECT_EQ(Records().Get<TNotesPref>().N_KIND_DEF_FOR_TASK, "x" + hebrew.substr(0, 2 * 254));
}

TEST_F(SetTokenData, StarredFieldsAndKeptRecordsKeepThePreviousLoad) {
  Row("-1", "GEN_COIN_ID", "I", "3");
  Row("-1", "DOC_DRAG_FILE_COPY_AS_DOC", "B", "Y");
  Row("-1", "N_VIEW_ITEMS_COUNT", "I", "12");
  Row("-1", "DOC_DOC_NO_KIND", "I", "5");
  ASSERT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  Sql("DELETE FROM Pref");
  ASSERT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  EXPECT_EQ(General().GEN_COIN_ID, 3);
  EXPECT_TRUE(Doc().DragFileCopyAsDoc);
  EXPECT_EQ(Records().Get<TNotesPref>().N_VIEW_ITEMS_COUNT, 12);
  EXPECT_EQ(Doc().DocNoKind, 0);  // reset
}

struct TFailureCase {
  const char* Token;
  const char* Type;
  const char* Value;
  uint8_t Result;
};

void PrintTo(const TFailureCase& c, std::ostream* os) {
  *os << c.Token << " " << c.Type << " " << c.Value;
}

class SetTokenDataFailure : public PrefTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(SetTokenDataFailure, EndsTheLoadAtTheRowAndReportsIt) {
  const TFailureCase& c = GetParam();
  Row("-1", "DOC_MAIN_FOLDER", "A", "read before");
  Row("-2", c.Token, c.Type, c.Value);
  Row("-2", "Z_NOT_A_TOKEN", "A", "after");
  EXPECT_EQ(SetTokenDataForUser("-1"), c.Result);
  EXPECT_EQ(Doc().MainFolder, "read before");
  EXPECT_EQ(Doc().TemplFolder, "");  // folder defaults did not run
  const std::string log = install.LogText();
  EXPECT_NE(log.find("DisplayErr"), std::string::npos);
  for (const char* part : {"Problem With Field - ", "It's current value is -  ",
                           "It's TokenType is - ", "It's UserId is - -2"})
    EXPECT_NE(log.find(part), std::string::npos) << part;
  EXPECT_NE(log.find(std::string("Problem With Field - ") + c.Token), std::string::npos);
  EXPECT_NE(log.find(std::string("It's current value is -  ") + c.Value), std::string::npos);
  EXPECT_EQ(log.find("PrefDT:"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SetTokenDataFailure,
    ::testing::Values(TFailureCase{"DOC_DOC_NO_KIND", "I", "12a", stdConversionError},
                      TFailureCase{"A_PERCENT_VAT", "N", "1,5x", stdConversionError},
                      TFailureCase{"GEN_DATE_FORMAT", "D", "31/02/2020", stdConversionError},
                      TFailureCase{"DOC_PLACE_KIND", "A", "abc", stdVariantError},
                      TFailureCase{"DOC_AUTOCREATE_NOTE", "A", "maybe", stdVariantError}),
    [](const ::testing::TestParamInfo<TFailureCase>& info) {
      return std::string(info.param.Token) + "_" + info.param.Type;
    });

TEST_F(SetTokenData, UnknownLettersNullValuesAndLongTokensStoreNothingHarmful) {
  Row("-1", "DOC_DOC_NO_KIND", "I", "7");
  Row("-2", "DOC_DOC_NO_KIND", "I", std::nullopt);      // NULL: skipped
  Row("-1", "DOC_FILE_FOR_TEMPLATE", "Q", "anything");  // unknown letter: 0
  Row("-1", "DOC_NEED_IDENT_DOC_NAME", "Q", "Y");
  Row("-1", "DOC_MAIN_FOLDER_X", "A", "x");           // no such token
  Row("-1", "QUOTE_FILTER_CUR_USER_ONLY", "B", "Y");  // 26 characters: the name is cut at 25
  Row("-1", "GEN_HELP_LINKS_%S", "A", "literal");
  Row("-1", "GEN_HELP_LINKS_LNGENG", "A", "formatted");
  Row("-1", "NOTES_FILTER_BY", "I", "300");
  Row("-1", "N_KIND_DEF_FOR_EVENT", "A", std::string(300, 'k'));
  ASSERT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  EXPECT_EQ(Doc().DocNoKind, 7);
  EXPECT_EQ(Doc().FileForTemplate, "0");
  EXPECT_FALSE(Doc().NeedIdentDocName);
  EXPECT_FALSE(Records().Get<TQuotesPref>().QUOTE_FILTER_CUR_USER_ONL);
  EXPECT_EQ(General().GEN_HELP_LINKS_S, "formatted");
  EXPECT_EQ(Records().Get<TNotesPref>().NOTES_FILTER_BY, 44);
  EXPECT_EQ(Records().Get<TNotesPref>().N_KIND_DEF_FOR_EVENT, std::string(255, 'k'));
}

TEST_F(SetTokenData, UnreadableDatabaseGivesTheStartUpFailureText) {
  Sql("DROP TABLE Pref");
  EXPECT_EQ(SetTokenDataForUser("-1"), stdGeneralFailure);
  EXPECT_EQ(Doc().MainFolder, "");
  const std::string log = install.LogText();
  EXPECT_NE(log.find("SetTokenDataForUser"), std::string::npos);
  EXPECT_NE(log.find("נתגלתה שגיאה כללית בעת העלאת Varnel\r\n(Error Code: Lang/Pref)."),
            std::string::npos);
  EXPECT_EQ(LoadStr(SetTokenDataFailureTextId),
            "נתגלתה שגיאה כללית בעת העלאת Varnel\r\n(Error Code: Lang/Pref).");
}

TEST_F(SetTokenData, LanguageRowsReadTheDictionary) {
  Sql("INSERT INTO SysRec (RECID, MEMO) VALUES ('SYSRECLANGENGZZZZZZZ', "
      "'\"LANGID\",\"RECID\",\"VALUE\"' || char(13, 10) || "
      "'\"LNGENG\",\"PRICE_TOTAL\",\"Total\"')");
  Row("-1", "QUOTE_LABEL", "LN", "price_total");
  Row("-1", "QUOTE_LABEL_S", "ln", "NO_SUCH_TEXT");
  ASSERT_EQ(SetTokenDataForUser("-1"), stdLoaded);
  EXPECT_EQ(Records().Get<TQuotesPref>().QUOTE_LABEL, "Total");
  EXPECT_EQ(Records().Get<TQuotesPref>().QUOTE_LABEL_S, "");
}

TEST_F(SetTokenData, ALanguageFailureIsAFailureOfOurs) {
  // No system language record: the dictionary cannot be built.
  Row("-1", "DOC_MAIN_FOLDER", "A", "read before");
  Row("-1", "QUOTE_LABEL", "LN", "PRICE_TOTAL");
  EXPECT_EQ(SetTokenDataForUser("-1"), stdGeneralFailure);
  EXPECT_EQ(Doc().MainFolder, "read before");
  EXPECT_NE(install.LogText().find("(Error Code: Lang/Pref)."), std::string::npos);
}

}  // namespace
