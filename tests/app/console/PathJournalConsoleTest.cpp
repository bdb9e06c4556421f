// The undo journal as the console program's user meets it: every replace journalled, undone
// exactly, undone again, listed, resumed after a failure, and refused plainly on bad input.
#include <gtest/gtest.h>

#include <sstream>

#include "app/console/ConsoleProgram.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "tests/app/console/ConsoleRun.h"
#include "tests/support/AppTestInstallation.h"

namespace {

class PathJournalConsoleTest : public ::testing::Test {
 protected:
  TConsoleRun Run(const std::vector<std::string>& args) { return RunConsole(args); }
  std::string Database() const {
    return TCrmTestInstall::RowsIn(install_->DbFolder(), {"Docs", "Cards"});
  }
  void Exec(const std::string& sql) const { install_->Open()->ExecSQL(sql, {}); }
  std::string Log() const {
    return TCrmTestInstall::ReadBytes(install_->Path("Logs/UserLog_VrlChangeDocsPathCli.TXT"));
  }
  void SeedSample() const {
    install_->Seed({"C:\\Docs\\a.doc", "c:\\docs\\Sub\\b.doc", "D:\\x.doc", "C:\\Docs\\c.doc"},
                   {"C:\\Docs\\A", "D:\\B", "C:\\DOCS"});
    // Columns the replace never touches stay as they were, NULL included.
    Exec("UPDATE Docs SET CARD_ID = 'kept' WHERE RECID = '2'");
  }
  std::unique_ptr<TAppTestInstallation> install_ =
      std::make_unique<TAppTestInstallation>("VrlChangeDocsPathCli");
};

const std::vector<std::string> kReplace = {"--old", "C:\\Docs", "--new", "E:\\New", "--yes"};

TEST_F(PathJournalConsoleTest, UndoRestoresTheTablesExactlyAndCanItselfBeUndone) {
  SeedSample();
  const std::string before = Database();
  const TConsoleRun replace = Run(kReplace);
  ASSERT_EQ(replace.Code, 0) << replace.Err;
  EXPECT_NE(replace.Out.find("Run R1 is journalled. To undo it: VrlChangeDocsPathCli --undo R1\n"),
            std::string::npos)
      << replace.Out;
  const std::string replaced = Database();
  ASSERT_NE(replaced, before);
  // The run's own log entry comes right after the "Change Docs Path" entry.
  const std::string log = Log();
  const size_t change = log.find("Proc_Name=Change Docs Path\r\n");
  const size_t journal = log.find("Proc_Name=Undo Journal\r\n");
  ASSERT_NE(change, std::string::npos) << log;
  ASSERT_NE(journal, std::string::npos) << log;
  EXPECT_EQ(log.find("Proc_Name=", change + 1), journal);
  EXPECT_NE(log.find("VrlChangeDocsPathCli --undo R1", journal), std::string::npos);

  const TConsoleRun dry = Run({"--undo", "R1", "--dry-run"});
  EXPECT_EQ(dry.Code, 0) << dry.Err;
  // The dry run counts and samples what the undo puts back.
  EXPECT_NE(dry.Out.find("Documents: 4 examined, 3 to restore\n"
                         "  E:\\New\\a.doc -> C:\\Docs\\a.doc\n"
                         "  E:\\New\\Sub\\b.doc -> c:\\docs\\Sub\\b.doc\n"
                         "  E:\\New\\c.doc -> C:\\Docs\\c.doc\n"
                         "Cards: 3 examined, 2 to restore\n"
                         "  E:\\New\\A -> C:\\Docs\\A\n"
                         "  E:\\New -> C:\\DOCS\n"),
            std::string::npos)
      << dry.Out;
  EXPECT_EQ(Database(), replaced);

  const TConsoleRun undo = Run({"--undo", "r1", "--yes"});  // ids typed in either case
  EXPECT_EQ(undo.Code, 0) << undo.Err;
  EXPECT_NE(undo.Out.find("Run R2 is journalled."), std::string::npos) << undo.Out;
  EXPECT_EQ(Database(), before);

  const TConsoleRun again = Run({"--undo", "R2", "--yes"});
  EXPECT_EQ(again.Code, 0) << again.Err;
  EXPECT_EQ(Database(), replaced);

  const TConsoleRun list = Run({"--list-runs"});
  EXPECT_EQ(list.Code, 0) << list.Err;
  EXPECT_EQ(list.Out,
            "R1  2026-12-08 14:02:40  C:\\Docs -> E:\\New  Docs 3, Cards 2  replace\n"
            "R2  2026-12-08 14:02:40  E:\\New -> C:\\Docs  Docs 3, Cards 2  undo of R1, undone by "
            "R3\n"
            "R3  2026-12-08 14:02:40  C:\\Docs -> E:\\New  Docs 3, Cards 2  undo of R2\n");
}

// Undoing an undo makes its run stand again, and undoing that undo takes the run back once
// more: down a chain of undos of any depth, each run's mark says whether it stands.
TEST_F(PathJournalConsoleTest, AChainOfUndosKeepsEveryRunsMarkTrue) {
  SeedSample();
  const std::string before = Database();
  ASSERT_EQ(Run(kReplace).Code, 0);
  const std::string replaced = Database();
  const struct {
    const char* Undo;
    std::vector<std::string> Marks;  // UndoneBy of R1, R2, ... after it
    bool Replaced;                   // R1's paths stand
  } steps[] = {
      {"R1", {"R2", ""}, false},
      {"R2", {"", "R3", ""}, true},
      {"R3", {"R2", "", "R4", ""}, false},
      {"R4", {"", "R3", "", "R5", ""}, true},
      {"R5", {"R2", "", "R4", "", "R6", ""}, false},
  };
  for (const auto& step : steps) {
    const TConsoleRun undo = Run({"--undo", step.Undo, "--yes"});
    EXPECT_EQ(undo.Code, 0) << step.Undo << ": " << undo.Out << undo.Err;
    EXPECT_EQ(TCrmTestInstall::ColumnIn(install_->DbFolder(), "VrlPathRuns", "UndoneBy"),
              step.Marks)
        << "after undoing " << step.Undo;
    EXPECT_EQ(Database(), step.Replaced ? replaced : before) << "after undoing " << step.Undo;
  }
}

// What the journal writes in more than one statement goes in whole or not at all, so that a
// failure (or a kill) between the statements leaves a journal every command can go on from.
TEST_F(PathJournalConsoleTest, TheJournalsTablesAreCreatedTogether) {
  SeedSample();
  const std::string before = Database();
  // An index under the journal rows' table name: the runs table could be created, that one not.
  Exec("CREATE INDEX VrlPathJournal ON Docs (RECID)");
  EXPECT_EQ(Run(kReplace).Code, ecFailed);
  EXPECT_EQ(Database(), before);
  const TConsoleRun list = Run({"--list-runs"});
  EXPECT_EQ(list.Code, 0) << list.Err;
  EXPECT_EQ(list.Out, "No run is journalled in this database.\n");
  Exec("DROP INDEX VrlPathJournal");
  EXPECT_EQ(Run(kReplace).Code, 0);
  EXPECT_EQ(Run({"--undo", "R1", "--yes"}).Code, 0);
  EXPECT_EQ(Database(), before);
}

TEST_F(PathJournalConsoleTest, AnUndoIsCompleteOnlyWithTheMarksItSets) {
  SeedSample();
  const std::string before = Database();
  ASSERT_EQ(Run(kReplace).Code, 0);
  // A complete run's row cannot change: the undo's end can be written, the mark on R1 not.
  Exec(
      "CREATE TRIGGER KeepComplete BEFORE UPDATE ON VrlPathRuns WHEN OLD.State = 'complete' "
      "BEGIN SELECT RAISE(ABORT, 'complete runs are kept as they are'); END");
  EXPECT_EQ(Run({"--undo", "R1", "--yes"}).Code, ecFailed);
  const auto runs = [&](const char* column) {
    return TCrmTestInstall::ColumnIn(install_->DbFolder(), "VrlPathRuns", column);
  };
  EXPECT_EQ(runs("State"), (std::vector<std::string>{"complete", "incomplete"}));
  EXPECT_EQ(runs("UndoneBy"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(Database(), before);  // what it put back is kept, and journalled
  Exec("DROP TRIGGER KeepComplete");
  const TConsoleRun resume = Run({"--resume", "R2", "--yes"});
  EXPECT_EQ(resume.Code, 0) << resume.Out << resume.Err;
  EXPECT_EQ(runs("State"), (std::vector<std::string>{"complete", "complete"}));
  EXPECT_EQ(runs("UndoneBy"), (std::vector<std::string>{"R2", ""}));
  EXPECT_EQ(Database(), before);
}

TEST_F(PathJournalConsoleTest, RecordsChangedOrDeletedSinceAreLeftAloneAndCounted) {
  SeedSample();
  ASSERT_EQ(Run(kReplace).Code, 0);
  Exec("UPDATE Docs SET DOCUMENT_NAME = 'F:\\edited.doc' WHERE RECID = '1'");
  Exec("DELETE FROM Docs WHERE RECID = '4'");
  const TConsoleRun undo = Run({"--undo", "R1", "--yes"});
  EXPECT_EQ(undo.Code, ecRefused);
  EXPECT_NE(undo.Out.find("Documents: 3 examined, 1 restored\n"), std::string::npos) << undo.Out;
  EXPECT_NE(undo.Out.find(Format(LoadStr(sUndoLeftAlone), {2, 1, 1}) +
                          "\n  Docs RECID 1: F:\\edited.doc\n  Docs RECID 4: deleted\n"),
            std::string::npos)
      << undo.Out;
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{"F:\\edited.doc", "c:\\docs\\Sub\\b.doc", "D:\\x.doc"}));
  EXPECT_EQ(install_->CardFolders(),
            (std::vector<std::string>{"C:\\Docs\\A", "D:\\B", "C:\\DOCS"}));
}

TEST_F(PathJournalConsoleTest, AFailedRunIsIncompleteAndResumeFinishesItWithoutNestingTwice) {
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc", "C:\\Docs\\c.doc"}, {"C:\\Docs\\K"});
  install_->FailUpdatesOf("Docs", 3);
  // The new folder lies under the old one: a plain second run would nest the first two again,
  // so the replace needs --force, and the resume finishes it without.
  const std::vector<std::string> replace = {"--old", "C:\\Docs", "--new", "C:\\Docs\\Archive",
                                            "--yes", "--force"};
  EXPECT_EQ(Run(replace).Code, ecFailed);
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{"C:\\Docs\\Archive\\a.doc", "C:\\Docs\\Archive\\b.doc",
                                      "C:\\Docs\\c.doc"}));
  EXPECT_NE(Run({"--list-runs"}).Out.find("Docs 2, Cards 0  replace, incomplete\n"),
            std::string::npos);

  Exec("DROP TRIGGER FailDocs");
  // Its dry run counts and samples only what the resume will rewrite: nothing twice.
  const TConsoleRun dry = Run({"--resume", "R1", "--dry-run"});
  EXPECT_EQ(dry.Code, 0) << dry.Err;
  EXPECT_NE(dry.Out.find("Documents: 3 examined, 1 to rewrite\n"
                         "  C:\\Docs\\c.doc -> C:\\Docs\\Archive\\c.doc\n"
                         "Cards: 1 examined, 1 to rewrite\n"),
            std::string::npos)
      << dry.Out;
  const TConsoleRun resume = Run({"--resume", "R1", "--yes"});
  EXPECT_EQ(resume.Code, 0) << resume.Err;
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{"C:\\Docs\\Archive\\a.doc", "C:\\Docs\\Archive\\b.doc",
                                      "C:\\Docs\\Archive\\c.doc"}));
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"C:\\Docs\\Archive\\K"});
  EXPECT_NE(Run({"--list-runs"}).Out.find("Docs 3, Cards 1  replace\n"), std::string::npos);
  // A complete run has nothing left to resume; the whole run undoes as one.
  EXPECT_EQ(Run({"--resume", "R1", "--yes"}).Code, ecRefused);
  EXPECT_EQ(Run({"--undo", "R1", "--yes"}).Code, 0);
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{"C:\\Docs\\a.doc", "C:\\Docs\\b.doc", "C:\\Docs\\c.doc"}));
}

TEST_F(PathJournalConsoleTest, NoJournalReplacesAsBeforeAndLeavesNothingToUndo) {
  SeedSample();
  const TConsoleRun run = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--yes", "--no-journal"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(run.Out.find("journalled"), std::string::npos) << run.Out;
  EXPECT_EQ(Run({"--list-runs"}).Out, "No run is journalled in this database.\n");
  const std::string replaced = Database();
  const TConsoleRun undo = Run({"--undo", "R1", "--yes"});
  EXPECT_EQ(undo.Code, ecFailed);
  EXPECT_NE(undo.Err.find(LoadStr(sNoJournal)), std::string::npos) << undo.Err;
  EXPECT_EQ(Database(), replaced);
}

struct TBadInput {
  const char* Name;
  std::vector<std::string> Args;
  const char* Arrange;  // SQL run after the replace (R1) and its undo (R2); empty: none
  int Code;
  std::string Message;  // expected on the error stream
};

class PathJournalBadInputTest : public PathJournalConsoleTest,
                                public ::testing::WithParamInterface<TBadInput> {};

TEST_P(PathJournalBadInputTest, IsRefusedPlainlyAndChangesNothing) {
  const TBadInput& c = GetParam();
  SeedSample();
  ASSERT_EQ(Run(kReplace).Code, 0);
  ASSERT_EQ(Run({"--undo", "R1", "--yes"}).Code, 0);
  if (*c.Arrange) Exec(c.Arrange);
  const std::string before = Database();
  const TConsoleRun run = Run(c.Args);
  EXPECT_EQ(run.Code, c.Code) << run.Out << run.Err;
  EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
  EXPECT_EQ(Database(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathJournalBadInputTest,
    ::testing::Values(
        TBadInput{"UnknownRun",
                  {"--undo", "R9", "--yes"},
                  "",
                  ecRefused,
                  Format(LoadStr(sNoSuchRun), {"R9"})},
        TBadInput{"NotARunId",
                  {"--undo", "last", "--yes"},
                  "",
                  ecRefused,
                  Format(LoadStr(sNoSuchRun), {"last"})},
        TBadInput{"AlreadyUndone",
                  {"--undo", "R1", "--yes"},
                  "",
                  ecRefused,
                  Format(LoadStr(sRunAlreadyUndone), {"R1", "R2"})},
        TBadInput{"UndoOfAnUndoOfAnUnfinishedRun",
                  {"--undo", "R2", "--yes"},
                  "UPDATE VrlPathRuns SET State = 'running' WHERE RunId = 'R1'",
                  ecRefused,
                  Format(LoadStr(sUndoOfUnfinishedRun), {"R2", "R1"})},
        TBadInput{"ResumeAComplete",
                  {"--resume", "R2", "--yes"},
                  "",
                  ecRefused,
                  Format(LoadStr(sRunComplete), {"R2"})},
        TBadInput{"RunsTableMissing",
                  {"--undo", "R2", "--yes"},
                  "DROP TABLE VrlPathRuns",
                  ecFailed,
                  LoadStr(sNoJournal)},
        TBadInput{"JournalMissing",
                  {"--undo", "R2", "--yes"},
                  "DROP TABLE VrlPathJournal",
                  ecFailed,
                  "The undo journal of this database cannot be read"},
        TBadInput{"JournalDamaged",
                  {"--undo", "R2", "--yes"},
                  "ALTER TABLE VrlPathJournal RENAME COLUMN RecId TO Broken",
                  ecFailed,
                  "The undo journal of this database cannot be read"},
        TBadInput{"ListingADamagedJournal",
                  {"--list-runs"},
                  "ALTER TABLE VrlPathJournal RENAME COLUMN TableName TO Broken",
                  ecFailed,
                  "The undo journal of this database cannot be read"},
        TBadInput{"NotConfirmed", {"--undo", "R2"}, "", ecRefused, ""},
        // The journal lost the undo's rows (dropped, then created anew by a later run): what
        // is left of it is not undone, and R2 stays undoable once the rows are back.
        TBadInput{"JournalLostRows",
                  {"--undo", "R2", "--yes"},
                  "DELETE FROM VrlPathJournal WHERE RunId = 'R2'",
                  ecFailed,
                  Format(LoadStr(sJournalRowsMissing), {"R2", 5})},
        TBadInput{
            "UnfinishedUndo",
            {"--undo", "R1", "--yes"},
            "UPDATE VrlPathRuns SET State = CASE RunId WHEN 'R2' THEN 'running' ELSE State "
            "END, UndoneBy = CASE RunId WHEN 'R1' THEN '' ELSE UndoneBy END",
            ecRefused,
            Format(LoadStr(sUnfinishedUndo), {"R1", "R2", "VrlChangeDocsPathCli --resume R2"})}),
    [](const auto& info) { return std::string(info.param.Name); });

// Journals of an older version have no counts in their runs: they are listed and undone as
// before, and the next run adds the column.
TEST_F(PathJournalConsoleTest, AJournalWithoutRunCountsStaysUsable) {
  SeedSample();
  const std::string before = Database();
  ASSERT_EQ(Run(kReplace).Code, 0);
  Exec("ALTER TABLE VrlPathRuns DROP COLUMN Counts");
  EXPECT_EQ(Run({"--list-runs"}).Code, 0);
  const TConsoleRun undo = Run({"--undo", "R1", "--yes"});
  EXPECT_EQ(undo.Code, 0) << undo.Err;
  EXPECT_EQ(Database(), before);
  EXPECT_EQ(TCrmTestInstall::ColumnIn(install_->DbFolder(), "VrlPathRuns", "Counts"),
            (std::vector<std::string>{"<NULL>", "Cards=2;Docs=3"}));
}

TEST_F(PathJournalConsoleTest, JournalCommandsAndNewAreUsedApart) {
  EXPECT_EQ(Run({"--undo", "R1", "--new", "E:\\X"}).Code, ecUsage);
  EXPECT_EQ(Run({"--undo", "R1", "--resume", "R1"}).Code, ecUsage);
  EXPECT_EQ(Run({"--list-runs", "--no-journal"}).Code, ecUsage);
  EXPECT_EQ(Run({"--yes"}).Code, ecUsage);
}

}  // namespace
