#include "docpaths/StoredFolderSurvey.h"

#include "db/DatGenDBConnectionDM.h"
#include "db/PrefTypes.h"
#include "docpaths/PassReader.h"

namespace {

void SurveyTable(const TPathPass& pass, TRewriteObserver* observer, TFolderTally& tally) {
  TPassReader reader(pass, observer);
  for (; !reader.Eof(); reader.Next()) tally.Add(reader.Value());
  reader.Close();
}

void SurveyPreferences(TFolderTally& tally) {
  TAdsQuery query(nullptr, "");
  query.DatabaseName = MainConnectionName;
  query.SQL = "SELECT TOKENTYPE, VALUE FROM Pref";
  query.Open();
  TAdsField& type = query.FieldByName("TOKENTYPE");
  TAdsField& value = query.FieldByName("VALUE");
  for (; !query.Eof(); query.Next())
    if (IsTextPrefType(type.AsString())) tally.Add(value.AsString());
  query.Close();
}

}  // namespace

TStoredFolderSurvey SurveyStoredFolders(int depth, TRewriteObserver* docsObserver,
                                        TRewriteObserver* cardsObserver) {
  TStoredFolderSurvey survey(depth);
  SurveyTable(kDocsPass, docsObserver, survey.Docs.Folders);
  SurveyTable(kCardsPass, cardsObserver, survey.Cards.Folders);
  SurveyPreferences(survey.Pref.Folders);
  return survey;
}
