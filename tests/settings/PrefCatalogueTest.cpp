#include "settings/PrefCatalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

TEST(PrefCatalogue, HoldsEveryTokenOnceInItsRecord) {
  const std::map<std::string, size_t> expected = {
      {"TGeneralPref", 123},     {"TCardPref", 23},
      {"TEventPref", 44},        {"TNotesPref", 29},
      {"TDocPref", 13},          {"TReportPref", 9},
      {"TMailPref", 8},          {"TTimerPref", 6},
      {"TOpportunityPref", 13},  {"TTicketsPref", 58},
      {"TWebAccessPref", 20},    {"TBillingPref", 39},
      {"TKBArticlesPref", 9},    {"TAccountingLinkPref", 99},
      {"THandHeldSeedPref", 4},  {"TSyncPref", 4},
      {"TAssetsPref", 11},       {"TSplitPosPref", 21},
      {"TApplyUserPrivPref", 2}, {"TEmailTemplatesPref", 2},
      {"TRegexPref", 2},         {"TEmlAlertCutPref", 15},
      {"TQuoteWerksPref", 13},   {"TQuotesPref", 6}};
  std::map<std::string, size_t> counted;
  std::set<std::string> names;
  for (const TPrefCatalogueEntry& entry : PrefCatalogue()) {
    ++counted[entry.Record];
    EXPECT_TRUE(names.insert(entry.Name).second) << entry.Name;
    EXPECT_LE(std::string(entry.Name).size(), 25u) << entry.Name;
  }
  EXPECT_EQ(PrefCatalogue().size(), 573u);
  EXPECT_EQ(counted, expected);
}

TEST(PrefCatalogue, StoresIntoTheNamedFieldWithItsKind) {
  TPrefRecords records;
  auto store = [&](const std::string& name, const TPrefValue& value) {
    for (const TPrefCatalogueEntry& entry : PrefCatalogue())
      if (entry.Name == name) return entry.Store(records, value);
    FAIL() << name;
  };
  store("DOC_MAIN_FOLDER", std::string("\\\\srv\\Docs"));
  store("TKT_LAST_TICKET_NO_B4_5.1", int64_t{41});
  store("QUOTE_FILTER_CUR_USER_ONL", true);
  store("E_WORK_TIME_FROM", 8.5);
  store("CRD_TKT_TAB_PRVIEW_STATUS", std::string("258"));
  EXPECT_EQ(records.Get<TDocPref>().MainFolder, "\\\\srv\\Docs");
  EXPECT_EQ(records.Get<TTicketsPref>().TKT_LAST_TICKET_NO_B4_5_1, 41);
  EXPECT_TRUE(records.Get<TQuotesPref>().QUOTE_FILTER_CUR_USER_ONL);
  EXPECT_EQ(records.Get<TEventPref>().E_WORK_TIME_FROM, 8.5);
  EXPECT_EQ(records.Get<TCardPref>().CRD_TKT_TAB_PRVIEW_STATUS, 2);
}

TEST(PrefCatalogue, ResetSetsDefaultsAndSparesStarsAndKeptRecords) {
  TPrefRecords records;
  records.Get<TDocPref>().MainFolder = "old";
  records.Get<TDocPref>().AddDocByEmail = false;
  records.Get<TDocPref>().DragFileCopyAsDoc = true;            // starred
  records.Get<TSplitPosPref>().SPLIT_POS_KNOWLEDGEBASE = 5;    // sixth: reset
  records.Get<TSplitPosPref>().SPLIT_POS_TKT_QUICKCHARGE = 7;  // seventh: starred
  records.Get<TGeneralPref>().GEN_DATE_FORMAT = "mm/dd/yyyy";  // starred
  records.Get<TGeneralPref>().CompanyName = "derived";
  records.Get<TNotesPref>().N_VIEW_ITEMS_COUNT = 9;  // Kept record
  records.Get<TSyncPref>().SYNC_SITE_ID = "site";
  records.Get<TCardPref>().CARD_VIEW_A_GRID_DB_CLICK = 0;

  ResetPrefRecords(records);
  EXPECT_EQ(records.Get<TDocPref>().MainFolder, "");
  EXPECT_TRUE(records.Get<TDocPref>().AddDocByEmail);
  EXPECT_TRUE(records.Get<TDocPref>().DragFileCopyAsDoc);
  EXPECT_EQ(records.Get<TSplitPosPref>().SPLIT_POS_KNOWLEDGEBASE, 0);
  EXPECT_EQ(records.Get<TSplitPosPref>().SPLIT_POS_TKT_QUICKCHARGE, 7);
  EXPECT_EQ(records.Get<TGeneralPref>().GEN_DATE_FORMAT, "mm/dd/yyyy");
  EXPECT_EQ(records.Get<TGeneralPref>().CompanyName, "derived");
  EXPECT_EQ(records.Get<TNotesPref>().N_VIEW_ITEMS_COUNT, 9);
  EXPECT_EQ(records.Get<TSyncPref>().SYNC_SITE_ID, "site");
  EXPECT_EQ(records.Get<TCardPref>().CARD_VIEW_A_GRID_DB_CLICK, 3);
  EXPECT_EQ(records.Get<TWebAccessPref>().WA_TKT_USE_LEGACY_R, "N");
  EXPECT_EQ(records.Get<TEventPref>().E_FIRST_DAY_OF_THE_WEEK, 2);
  EXPECT_TRUE(records.Get<TQuoteWerksPref>().QW_ACTIVATE_ENABLED);
  static_assert(!PrefRecordIsReset<TQuotesPref>() && PrefRecordIsReset<TSplitPosPref>());
}

}  // namespace
