// The survey read from a real database: every table's folders and kinds, text preferences only,
// and nothing written.
#include "docpaths/StoredFolderSurvey.h"

#include "tests/docpaths/DocPassFixture.h"

TEST_F(DocPathPasses, TheSurveyReadsEachTableOnceAndWritesNothing) {
  Fill(install, "Docs", "DOCUMENT_NAME",
       {"C:\\VarnelDocs\\a.doc", "c:\\varneldocs\\b.doc", "\\\\fs1\\Docs\\c.doc", kNull});
  Fill(install, "Cards", "DOCSFOLDER", {"C:\\VarnelDocs\\Smith", "Smith"});
  auto db = install.Open();
  for (const auto& [id, type, value] : {std::tuple{"P1", "A", "C:\\VarnelDocs"},
                                        {"P2", "m", "S:\\Templates\\Letter.dot"},
                                        {"P3", "I", "C:\\NotText"},
                                        {"P4", "A", "Y"},
                                        {"P5", "ci", "\\\\fs1\\Templates\\Mail"}})
    db->ExecSQL(
        "INSERT INTO Pref (RECID, USER_ID, TOKEN, TOKENTYPE, VALUE) VALUES (:Id, '-1', "
        "'T', :Type, :Value)",
        {{"Id", id}, {"Type", type}, {"Value", value}});
  const std::string before = TCrmTestInstall::RowsIn(install.DbFolder(), {"Docs", "Cards", "Pref"});
  TRecorder docs;
  const TStoredFolderSurvey survey = SurveyStoredFolders(2, &docs);
  EXPECT_EQ(TCrmTestInstall::RowsIn(install.DbFolder(), {"Docs", "Cards", "Pref"}), before);
  EXPECT_EQ(docs.progress.back(), (std::pair<int64_t, int64_t>{4, 4}));

  const auto folders = [](const TTableSurvey& table) {
    std::vector<std::pair<std::string, int64_t>> list;
    for (const TFolderCount& folder : table.Folders.Folders())
      list.emplace_back(folder.Folder, folder.Count);
    return list;
  };
  using TList = std::vector<std::pair<std::string, int64_t>>;
  EXPECT_EQ(folders(survey.Docs), (TList{{"C:\\VarnelDocs", 2}, {"\\\\fs1\\Docs", 1}}));
  EXPECT_EQ(survey.Docs.Folders.Count(TStoredKind::Empty), 1);  // NULL reads as empty
  EXPECT_EQ(folders(survey.Cards), (TList{{"C:\\VarnelDocs", 1}}));
  EXPECT_EQ(survey.Cards.Folders.Count(TStoredKind::Relative), 1);
  // Text preferences only (A, M, CI): the integer one is no folder of the survey.
  EXPECT_EQ(folders(survey.Pref),
            (TList{{"C:\\VarnelDocs", 1}, {"S:\\Templates", 1}, {"\\\\fs1\\Templates\\Mail", 1}}));
  EXPECT_EQ(survey.Pref.Folders.Count(TStoredKind::NoPath), 1);
  EXPECT_EQ(survey.Pref.Folders.Total(), 4);
}
