#include "docpaths/StoredFolderSurvey.h"

#include "common/SysUtils.h"
#include "docpaths/PassProgress.h"

namespace {

void SurveyTable(const char* tableName, const char* fieldName, TRewriteObserver* observer,
                 TFolderTally& tally) {
  TAdsTable table(nullptr, "");
  table.DatabaseName = "DBConnectionDM.DBConnection";
  table.TableName = tableName;
  table.RightsChecking = false;
  table.ReadOnly = true;
  table.Open();
  table.First();
  TAdsField& field = table.FieldByName(fieldName);
  TPassProgress progress(observer, table);
  int64_t examined = 0;
  while (!table.Eof()) {
    tally.Add(field.AsString());
    progress.Step(++examined);
    table.Next();
  }
  progress.Finish(examined);
  table.Close();
}

void SurveyPreferences(TFolderTally& tally) {
  TAdsQuery query(nullptr, "");
  query.DatabaseName = "DBConnectionDM.DBConnection";
  query.SQL = "SELECT TOKENTYPE, VALUE FROM Pref";
  query.Open();
  TAdsField& type = query.FieldByName("TOKENTYPE");
  TAdsField& value = query.FieldByName("VALUE");
  for (; !query.Eof(); query.Next())
    if (IsTextPrefType(type.AsString())) tally.Add(value.AsString());
  query.Close();
}

}  // namespace

bool IsTextPrefType(const std::string& tokenType) {
  const std::string type = UpperCase(tokenType);
  return type == "A" || type == "M";
}

TStoredFolderSurvey SurveyStoredFolders(int depth, TRewriteObserver* docsObserver,
                                        TRewriteObserver* cardsObserver) {
  TStoredFolderSurvey survey(depth);
  SurveyTable("Docs.adt", "DOCUMENT_NAME", docsObserver, survey.Docs.Folders);
  SurveyTable("Cards.Adt", "DOCSFOLDER", cardsObserver, survey.Cards.Folders);
  SurveyPreferences(survey.Pref.Folders);
  return survey;
}
