#include "tools/DemoPrefs.h"

#include <cstdio>
#include <optional>
#include <string>

#include "tools/DemoData.h"

namespace {

struct TDemoPref {
  const char* User;
  const char* Token;
  const char* Type;
  std::optional<std::string> Value;  // none: NULL
};

}  // namespace

void FillDemoPrefs(TAceConnection& db, const TDemoInstallOptions& options) {
  const TDemoPref rows[] = {
      {"-2", "GEN_CARD_ID", "A", DemoCardId(1)},
      {"-2", "GEN_COIN_ID", "I", "1"},
      {"-2", "GEN_DATE_FORMAT", "A", "dd/mm/yyyy"},
      {"-2", "GEN_DATE_SEPARATOR", "A", "/"},
      {"-2", "GEN_TIMEAMPM", "B", "N"},
      {"-2", "GEN_SITE_ID", "A", std::nullopt},
      {"-2", "QUOTE_LABEL", "LN", "PRICE_TOTAL"},
      {"-1", "DOC_MAIN_FOLDER", "A", options.DocsFolder},
      {"-1", "DOC_TEMPL_FOLDER", "A", options.DocsFolder + "\\Templates"},
      {"-1", "DOC_ADD_DOC_BY_EMAIL", "B", "Y"},
      {"-1", "DOC_PLACE_KIND", "I", "1"},
      {"-1", "GEN_LANGUAGE", "I", "1"},
      {"-1", "GEN_OPEN_WIN_MAX", "B", "Y"},
      {"-1", "E_WORK_DAY_FROM", "I", "1"},
      {"-1", "E_WORK_DAY_TO", "I", "5"},
      {"-1", "E_WORK_TIME_FROM", "T", "08:00"},
      {"-1", "E_WORK_TIME_TO", "T", "17:30"},
      {"-1", "A_PERCENT_VAT", "N", "17"},
      {"-1", "GEN_HELP_LINKS_LNGENG", "A", "https://help.example.com/crm"},
      {"dana", "DOC_MAIN_FOLDER", "A", options.DocsFolder + "\\Dana"},
      {"dana", "CARD_SORT_BY", "I", "2"},
      {"dana", "GEN_OPEN_WIN_MAX", "B", "N"},
      {"dana", "NOTES_FILTER_BY", "I", "2"},
      {"dana", "TICKETS_SHOW_BY", "I", "1"},
      // A station that reaches the documents folder through the file server's share.
      {"yossi", "DOC_MAIN_FOLDER", "A",
       DemoSecondSpelling(options.DocsFolder).value_or(options.DocsFolder)},
  };
  int number = 0;
  char recId[16];
  for (const TDemoPref& row : rows) {
    std::snprintf(recId, sizeof recId, "P%09d", ++number);
    TAceParams params = {
        {"RecId", recId}, {"User", row.User}, {"Token", row.Token}, {"Type", row.Type}};
    if (row.Value) params.emplace_back("Value", *row.Value);
    db.ExecSQL(
        "INSERT INTO Pref (RECID, USER_ID, TOKEN, TOKENTYPE, VALUE) VALUES (:RecId, :User, "
        ":Token, :Type, " +
            std::string(row.Value ? ":Value" : "NULL") + ")",
        params);
  }
}
