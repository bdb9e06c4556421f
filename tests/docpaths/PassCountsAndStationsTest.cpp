// The passes' counts against what the database holds, and the passes beside another station
// that changes records while they walk.
#include <gtest/gtest.h>

#include "common/StrTable.h"
#include "tests/docpaths/DocPassFixture.h"
#include "tests/support/OtherStation.h"

namespace {

void UndoAllAt(const TCrmTestInstall& install, const std::string& table, const std::string& recid) {
  install.Open()->ExecSQL("CREATE TRIGGER Undo BEFORE UPDATE ON " + table + " WHEN OLD.RECID = '" +
                              recid + "' BEGIN SELECT RAISE(ROLLBACK, 'record is locked'); END",
                          {});
}

int64_t CountWhere(const TCrmTestInstall& install, const std::string& sql) {
  return std::stoll(install.Open()->OpenQuery(sql, {})->FieldText(0));
}

}  // namespace

TEST_F(DocPathPasses, CardPassCountsOnlyCommittedCardsAndARerunFinishesTheJob) {
  Fill(install, "Cards", "DOCSFOLDER",
       {"C:\\DOCS\\a", "C:\\DOCS\\b", "C:\\DOCS\\c", "C:\\DOCS\\d", "C:\\DOCS\\e"});
  UndoAllAt(install, "Cards", "R14");
  TPassResult failed = ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N");
  EXPECT_FALSE(failed.Completed);
  EXPECT_EQ(failed.Rewritten,
            CountWhere(install, "SELECT count(*) FROM Cards WHERE DOCSFOLDER LIKE 'E:%'"));
  EXPECT_EQ(failed.Rewritten, 0);  // the three before the fourth went with its rollback
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  EXPECT_EQ(install.Ui->Messages[0].rfind(LoadStr(sProcessFailed) + "\r\n", 0), 0u);
  EXPECT_NE(install.Ui->Messages[0].find("3 posted records were rolled back"), std::string::npos)
      << install.Ui->Messages[0];

  install.Open()->ExecSQL("DROP TRIGGER Undo", {});
  TPassResult rerun = ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N");
  EXPECT_TRUE(rerun.Completed);
  EXPECT_EQ(rerun.Rewritten, 5);
  EXPECT_EQ(install.Column("Cards", "DOCSFOLDER"),
            (std::vector<std::string>{"E:\\N\\a", "E:\\N\\b", "E:\\N\\c", "E:\\N\\d", "E:\\N\\e"}));
}

TEST_F(DocPathPasses, DocumentPassRollbackFailsThePassAndSaysWhatWasLost) {
  Fill(install, "Docs", "DOCUMENT_NAME", {"C:\\DOCS\\1", "C:\\DOCS\\2", "C:\\DOCS\\3"});
  UndoAllAt(install, "Docs", "R13");
  try {
    Docs("C:\\DOCS", "E:\\N");
    FAIL() << "the pass reported success";
  } catch (const EADSDatabaseError& e) {
    EXPECT_NE(e.Message().find("2 posted records were rolled back"), std::string::npos)
        << e.Message();
  }
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"C:\\DOCS\\1", "C:\\DOCS\\2", "C:\\DOCS\\3"}));
}

TEST_F(DocPathPasses, PassesKeepAnotherStationsEditOrApplyTheRuleToIt) {
  Fill(install, "Docs", "DOCUMENT_NAME", {"C:\\DOCS\\1", "C:\\DOCS\\2", "C:\\DOCS\\3"});
  Fill(install, "Cards", "DOCSFOLDER", {"C:\\DOCS\\a", "C:\\DOCS\\b", "C:\\DOCS\\c"});
  TOtherStation docsStation(
      install, {"UPDATE Docs SET DOCUMENT_NAME = 'Z:\\UserMoved\\doc1.pdf' WHERE RECID = 'R11'",
                "UPDATE Docs SET DOCUMENT_NAME = 'c:\\docs\\moved2' WHERE RECID = 'R12'"});
  TPassResult docs = Docs("C:\\DOCS", "E:\\N", TPassOptions{false, &docsStation});
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"Z:\\UserMoved\\doc1.pdf", "E:\\N\\moved2", "E:\\N\\3"}));
  EXPECT_EQ(docs.Rewritten, 2);
  EXPECT_EQ(docs.ChangedByOthers, 1);

  TOtherStation cardsStation(install, {"DELETE FROM Cards WHERE RECID = 'R12'",
                                       "UPDATE Cards SET DOCSFOLDER = 'E:\\N\\c' WHERE RECID = "
                                       "'R13'"});
  TPassResult cards = ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N", {false, &cardsStation});
  EXPECT_TRUE(cards.Completed) << install.Ui->Messages.at(0);
  EXPECT_EQ(cards.Rewritten, 1);
  EXPECT_EQ(cards.ChangedByOthers, 2);
  EXPECT_EQ(install.Column("Cards", "DOCSFOLDER"),
            (std::vector<std::string>{"E:\\N\\a", "E:\\N\\c"}));
}

TEST_F(DocPathPasses, ARewriteEqualToTheStoredValueIsNeitherPostedNorCounted) {
  Fill(install, "Docs", "DOCUMENT_NAME", {"C:\\DOCS\\same", "c:\\docs\\case"});
  Fill(install, "Cards", "DOCSFOLDER", {"C:\\DOCS\\same", "C:\\DOCS\\slash\\"});
  // A post of an unchanged value would meet these triggers.
  RefuseUpdateOf(install, "Docs", "R11");
  RefuseUpdateOf(install, "Cards", "R11");
  EXPECT_EQ(Docs("C:\\DOCS", "C:\\DOCS").Rewritten, 1);
  TPassResult cards = ChangeDocPathInCards(&window, "C:\\DOCS", "C:\\DOCS");
  EXPECT_TRUE(cards.Completed) << (install.Ui->Messages.empty() ? "" : install.Ui->Messages[0]);
  EXPECT_EQ(cards.Rewritten, 1);  // only the trailing backslash goes
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"C:\\DOCS\\same", "C:\\DOCS\\case"}));
  EXPECT_EQ(install.Column("Cards", "DOCSFOLDER"),
            (std::vector<std::string>{"C:\\DOCS\\same", "C:\\DOCS\\slash"}));
}

TEST_F(DocPathPasses, ADryRunOnARollbackJournalDatabaseChangesNoByteAndWritesNoLogEntry) {
  FreeDBConnectionDM();  // leaving WAL needs the only connection
  install.Open()->ExecSQL("PRAGMA journal_mode = DELETE", {});
  Fill(install, "Docs", "DOCUMENT_NAME", {"C:\\DOCS\\1", "D:\\2"});
  install.Open()->ExecSQL(
      "INSERT INTO Cards (RECID, DOCSFOLDER) VALUES ('B', CAST('C:\\DOCS\\b' AS BLOB))", {});
  FreeDBConnectionDM();
  const std::string before = TCrmTestInstall::ReadBytes(install.DbFile());
  ASSERT_TRUE(MainConnectionIsOpen());
  const std::string logBefore = install.LogText();

  TPassOptions dryRun{true, nullptr};
  EXPECT_EQ(Docs("C:\\DOCS", "E:\\N", dryRun).Rewritten, 1);
  EXPECT_EQ(ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N", dryRun).Rewritten, 1);
  install.Open()->ExecSQL("ALTER TABLE Cards RENAME TO Cards2", {});
  EXPECT_FALSE(ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N", dryRun).Completed);
  EXPECT_EQ(install.Ui->Messages.size(), 1u);  // shown, not logged
  EXPECT_EQ(install.LogText(), logBefore);
  install.Open()->ExecSQL("ALTER TABLE Cards2 RENAME TO Cards", {});
  FreeDBConnectionDM();
  EXPECT_TRUE(TCrmTestInstall::ReadBytes(install.DbFile()) != before);  // the renames wrote
  const std::string renamed = TCrmTestInstall::ReadBytes(install.DbFile());

  // Another dry run changes no byte; the real run keeps the journal mode and the BLOB type.
  ASSERT_TRUE(MainConnectionIsOpen());
  Docs("C:\\DOCS", "E:\\N", TPassOptions{true, nullptr});
  FreeDBConnectionDM();
  EXPECT_TRUE(TCrmTestInstall::ReadBytes(install.DbFile()) == renamed);
  ASSERT_TRUE(MainConnectionIsOpen());
  EXPECT_TRUE(ChangeDocPathInCards(&window, "C:\\DOCS", "E:\\N").Completed);
  EXPECT_EQ(install.Column("Cards", "typeof(DOCSFOLDER) || ' ' || DOCSFOLDER"),
            (std::vector<std::string>{"blob E:\\N\\b"}));
  EXPECT_EQ(install.Open()->OpenQuery("PRAGMA journal_mode", {})->FieldText(0), "delete");
}
