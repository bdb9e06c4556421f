#include "docpaths/StoredFolderSurvey.h"

#include "docpaths/FolderPrefs.h"
#include "docpaths/PassReader.h"

namespace {

void SurveyTable(const TPathPass& pass, TRewriteObserver* observer, TFolderTally& tally) {
  TPassReader reader(pass, observer);
  for (; !reader.Eof(); reader.Next()) tally.Add(reader.Value());
  reader.Close();
}

void SurveyPreferences(TFolderTally& tally) {
  ForEachTextPref([&tally](const std::string&, const std::string&, const std::string& value) {
    tally.Add(value);
  });
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
