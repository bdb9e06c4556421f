#include <gtest/gtest.h>

#include "common/StrTable.h"
#include "tests/docpaths/DocPassFixture.h"

TEST_F(DocPathPasses, DocumentPassRewritesMatchingPathsAndLeavesTheRest) {
  Fill(install, "Docs", "DOCUMENT_NAME",
       {"C:\\Docs\\Smith\\Letter.doc", "c:\\docs\\לקוחות\\חוזה.docx", "C:\\DOCS2\\x.doc",
        "C:\\DOCS", kNull, "", "D:\\C:\\DOCS\\y.doc", "C:\\DOCS\\"});
  TPassResult result = Docs("C:\\DOCS", "E:\\Shared\\Docs\\");
  EXPECT_TRUE(result.Completed);
  EXPECT_EQ(result.Examined, 8);
  EXPECT_EQ(result.Rewritten, 3);
  EXPECT_EQ(
      install.Column("Docs", "DOCUMENT_NAME"),
      (std::vector<std::string>{
          "E:\\Shared\\Docs\\Smith\\Letter.doc", "E:\\Shared\\Docs\\לקוחות\\חוזה.docx",
          "C:\\DOCS2\\x.doc", "C:\\DOCS", kNull, "", "D:\\C:\\DOCS\\y.doc", "E:\\Shared\\Docs\\"}));
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_DESC"), std::vector<std::string>(8, kNull));
}

TEST_F(DocPathPasses, CardPassKeepsCaseDropsTrailingBackslashAndRespectsTheFolderBoundary) {
  Fill(install, "Cards", "DOCSFOLDER",
       {"C:\\Docs\\Smith\\", "C:\\DOCS2\\Jones", "C:\\DOCS", "c:\\docs\\", kNull, "",
        "D:\\Other\\Levi", "C:\\Docs\\כהן"});
  TPassResult result = ChangeDocPathInCards(&window, "C:\\DOCS\\", "E:\\Shared\\Docs\\");
  EXPECT_TRUE(result.Completed);
  EXPECT_EQ(result.Rewritten, 4);
  EXPECT_EQ(install.Column("Cards", "DOCSFOLDER"),
            (std::vector<std::string>{"E:\\Shared\\Docs\\Smith", "C:\\DOCS2\\Jones",
                                      "E:\\Shared\\Docs", "E:\\Shared\\Docs", kNull, "",
                                      "D:\\Other\\Levi", "E:\\Shared\\Docs\\כהן"}));
  EXPECT_TRUE(install.Ui->Messages.empty());
}

TEST_F(DocPathPasses, EmptyOldPathMatchesNothingInEitherTable) {
  Fill(install, "Docs", "DOCUMENT_NAME", {"C:\\DOCS\\a.doc", "\\x"});
  Fill(install, "Cards", "DOCSFOLDER", {"C:\\DOCS", "\\x"});
  EXPECT_EQ(Docs("", "E:\\New").Rewritten, 0);
  EXPECT_EQ(ChangeDocPathInCards(&window, "", "E:\\New").Rewritten, 0);
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"C:\\DOCS\\a.doc", "\\x"}));
  EXPECT_EQ(install.Column("Cards", "DOCSFOLDER"), (std::vector<std::string>{"C:\\DOCS", "\\x"}));
}

TEST_F(DocPathPasses, DocumentPassFailureKeepsEarlierRewritesAndLeavesLaterRecordsUnvisited) {
  Fill(install, "Docs", "DOCUMENT_NAME",
       {"C:\\DOCS\\1", "C:\\DOCS\\2", "C:\\DOCS\\3", "C:\\DOCS\\4", "C:\\DOCS\\5"});
  RefuseUpdateOf(install, "Docs", "R13");
  TRecorder recorder;
  TPassOptions options;
  options.Observer = &recorder;
  EXPECT_THROW(Docs("C:\\DOCS", "E:\\N", options), EADSDatabaseError);
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"E:\\N\\1", "E:\\N\\2", "C:\\DOCS\\3", "C:\\DOCS\\4",
                                      "C:\\DOCS\\5"}));
  EXPECT_EQ(recorder.rewrites.size(), 3u);  // the third was refused; 4 and 5 never seen
}

TEST_F(DocPathPasses, CardPassFailureIsShownLoggedAndReportedAsNotCompleted) {
  Fill(install, "Cards", "DOCSFOLDER",
       {"C:\\DOCS\\a", "C:\\DOCS\\b\\", "C:\\DOCS\\c\\", "C:\\DOCS\\d"});
  RefuseUpdateOf(install, "Cards", "R13");
  TPassResult result = ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N");
  EXPECT_FALSE(result.Completed);
  EXPECT_EQ(result.Examined, 3);
  EXPECT_EQ(install.Column("Cards", "DOCSFOLDER"),
            (std::vector<std::string>{"E:\\N\\a", "E:\\N\\b", "C:\\DOCS\\c\\", "C:\\DOCS\\d"}));
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  EXPECT_EQ(install.Ui->Messages[0].substr(0, 20), LoadStr(sProcessFailed) + "\r\n");
  EXPECT_NE(install.Ui->Messages[0].find("record is locked"), std::string::npos);
  const std::string log = install.LogText();
  EXPECT_NE(log.find("Sender_Class=TChangePathForDocsFrm\r\n"), std::string::npos);
  EXPECT_NE(log.find("Exception_Class=EADSDatabaseError "), std::string::npos);
  EXPECT_NE(log.find("Proc_Name=ChangeDoPathInCards\r\nOLD: C:\\DOCS\\c NEW: \\c\r\nForms_E="),
            std::string::npos);
}

TEST_F(DocPathPasses, CardPassFailureBeforeTheFirstRecordLogsEmptyValues) {
  install.Open()->ExecSQL("DROP TABLE Cards", {});
  TPassResult result = ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N");
  EXPECT_FALSE(result.Completed);
  EXPECT_NE(install.LogText().find("Proc_Name=ChangeDoPathInCards\r\nOLD:  NEW: \r\n"),
            std::string::npos);
  EXPECT_NE(install.Ui->Messages.at(0).find("Cards.Adt"), std::string::npos);
}

TEST_F(DocPathPasses, DryRunReportsEveryRewriteAndLeavesTheFileByteIdentical) {
  std::vector<std::string> docs;
  for (int i = 0; i < 5000; ++i) docs.push_back("C:\\Docs\\" + std::to_string(i) + ".doc");
  Fill(install, "Docs", "DOCUMENT_NAME", docs);
  Fill(install, "Cards", "DOCSFOLDER", {"C:\\DOCS\\a", "D:\\b"});
  FreeDBConnectionDM();  // let the file settle: the checkpoint on close writes the WAL back
  std::string before = TCrmTestInstall::ReadBytes(install.DbFile());
  ASSERT_TRUE(MainConnectionIsOpen());

  TRecorder recorder;
  TPassOptions options{true, &recorder};
  TPassResult docsResult = Docs("c:\\docs", "E:\\N", options);
  TPassResult cardsResult = ChangeDocPathInCards(&window, "c:\\docs", "E:\\N", options);
  EXPECT_EQ(docsResult.Rewritten, 5000);
  EXPECT_EQ(cardsResult.Rewritten, 1);
  ASSERT_EQ(recorder.rewrites.size(), 5001u);
  EXPECT_EQ(recorder.rewrites[7],
            std::make_pair(std::string("C:\\Docs\\7.doc"), std::string("E:\\N\\7.doc")));
  EXPECT_EQ(recorder.rewrites.back(),
            std::make_pair(std::string("C:\\DOCS\\a"), std::string("E:\\N\\a")));
  EXPECT_EQ(recorder.progress.front(), std::make_pair(int64_t{0}, int64_t{5000}));
  EXPECT_EQ(recorder.progress.back(), std::make_pair(int64_t{2}, int64_t{2}));
  EXPECT_LT(recorder.progress.size(), 10u);
  FreeDBConnectionDM();
  EXPECT_TRUE(TCrmTestInstall::ReadBytes(install.DbFile()) == before);
}
