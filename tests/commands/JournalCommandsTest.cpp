// The undo and the resume beside other stations: what they decide from the journal is read
// again once the lock is held, an undo counts every record it leaves alone, and a stop signal
// ends a run so that it can be resumed.
#include <gtest/gtest.h>

#include <csignal>

#include "commands/PathUndoCommand.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "db/DatGenDBConnectionDM.h"
#include "docpaths/journal/PathJournal.h"
#include "docpaths/journal/RunFolders.h"
#include "platform/StopRequest.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/OtherStation.h"

namespace {

class TTestOwner : public TComponent {
 public:
  TTestOwner() : TComponent(nullptr, "JournalCommandsTest") {}
  std::string ClassName() const override { return "TTestOwner"; }
};

// Asks for a stop (as a signal would) when the pass reports its stopAt-th rewrite.
struct TStopAt : TRewriteObserver {
  explicit TStopAt(int stopAt) : stopAt_(stopAt) {}
  void Rewritten(const std::string&, const std::string&) override {
    if (++seen_ == stopAt_) RequestStop(SIGTERM);
  }

 private:
  int stopAt_;
  int seen_ = 0;
};

class JournalCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(MainConnectionIsOpen()); }
  TFakeUi& Ui() { return *install_.Ui; }
  void Exec(const std::string& sql) const { install_.Open()->ExecSQL(sql, {}); }
  TPathRun Run(const std::string& runId) {
    TPathJournal journal;
    return journal.FindRun(runId).value();
  }
  // R1: a replace from C:\Docs to C:\Docs\Archive that failed at the third document, so the
  // first two are rewritten and the run is incomplete.
  void FailedNestedReplace() {
    install_.Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc", "C:\\Docs\\c.doc"}, {"C:\\Docs\\K"});
    install_.FailUpdatesOf("Docs", 3);
    Ui().ConfirmAnswers = {true, true};
    EXPECT_ANY_THROW(ReplaceDocsPath(owner_, "C:\\Docs", "C:\\Docs\\Archive"));
    Exec("DROP TRIGGER FailDocs");
    Ui().Messages.clear();
  }
  int64_t StoredUnder(const std::string& folder) const {
    int64_t count = 0;
    for (const std::string& name : install_.DocumentNames())
      count += name.rfind(folder, 0) == 0 ? 1 : 0;
    return count;
  }

  TAppTestInstallation install_{"VrlChangeDocsPath"};
  TTestOwner owner_;
};

struct TChangedMeanwhile {
  const char* Name;
  bool Undo;  // else a resume
  const char* AtConfirmation;
  TCommandOutcome Outcome;
  std::string Message;
};

class JournalChangedMeanwhileTest : public JournalCommandsTest,
                                    public ::testing::WithParamInterface<TChangedMeanwhile> {};

// Another station undid, finished or damaged the run while this command waited at its
// confirmation: the command is refused once it holds the lock, and nothing is written.
TEST_P(JournalChangedMeanwhileTest, IsReadAgainUnderTheLockAndRefused) {
  const TChangedMeanwhile& c = GetParam();
  FailedNestedReplace();
  const std::vector<std::string> before = install_.DocumentNames();
  Ui().WhileConfirming = [&](const std::string&) { Exec(c.AtConfirmation); };
  Ui().ConfirmAnswers = {true};
  const TCommandResult result =
      c.Undo ? UndoPathRun(owner_, "R1", {}) : ResumePathRun(owner_, "R1", TReplaceOptions{});
  EXPECT_EQ(result.Outcome, c.Outcome);
  EXPECT_EQ(Ui().Messages, std::vector<std::string>{c.Message});
  EXPECT_EQ(install_.DocumentNames(), before);
  EXPECT_EQ(install_.CardFolders(), std::vector<std::string>{"C:\\Docs\\K"});
  EXPECT_EQ(TPathJournal().Runs().size(), 1u);  // no run of its own was begun
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JournalChangedMeanwhileTest,
    ::testing::Values(
        TChangedMeanwhile{"UndoneBeforeTheUndo", true,
                          "UPDATE VrlPathRuns SET UndoneBy = 'R2' WHERE RunId = 'R1'",
                          TCommandOutcome::Refused,
                          Format(LoadStr(sRunAlreadyUndone), {"R1", "R2"})},
        TChangedMeanwhile{"UndoneBeforeTheResume", false,
                          "UPDATE VrlPathRuns SET UndoneBy = 'R2' WHERE RunId = 'R1'",
                          TCommandOutcome::Refused,
                          Format(LoadStr(sRunAlreadyUndone), {"R1", "R2"})},
        TChangedMeanwhile{"FinishedBeforeTheResume", false,
                          "UPDATE VrlPathRuns SET State = 'complete' WHERE RunId = 'R1'",
                          TCommandOutcome::Refused, Format(LoadStr(sRunComplete), {"R1"})},
        TChangedMeanwhile{
            "JournalLostBeforeTheUndo", true, "DELETE FROM VrlPathJournal WHERE RunId = 'R1'",
            TCommandOutcome::NoJournal, Format(LoadStr(sJournalRowsMissing), {"R1", 2})},
        TChangedMeanwhile{
            "JournalLostBeforeTheResume", false, "DELETE FROM VrlPathJournal WHERE RunId = 'R1'",
            TCommandOutcome::NoJournal, Format(LoadStr(sJournalRowsMissing), {"R1", 2})}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(JournalCommandsTest, AResumeSkipsWhatAnotherStationsResumeRewroteWhileItWaited) {
  FailedNestedReplace();
  // The other station's resume rewrote and journalled the third document, then was killed.
  Ui().WhileConfirming = [&](const std::string&) {
    Exec("UPDATE Docs SET DOCUMENT_NAME = 'C:\\Docs\\Archive\\c.doc' WHERE RECID = '3'");
    Exec(
        "INSERT INTO VrlPathJournal VALUES ('R1', 'Docs', '3', 'DOCUMENT_NAME', "
        "'C:\\Docs\\c.doc', 'C:\\Docs\\Archive\\c.doc')");
  };
  Ui().ConfirmAnswers = {true};
  const TCommandResult result = ResumePathRun(owner_, "R1", {});
  EXPECT_EQ(result.Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(result.Docs.Rewritten, 0);
  EXPECT_EQ(install_.DocumentNames(),
            (std::vector<std::string>{"C:\\Docs\\Archive\\a.doc", "C:\\Docs\\Archive\\b.doc",
                                      "C:\\Docs\\Archive\\c.doc"}));
  EXPECT_EQ(install_.CardFolders(), std::vector<std::string>{"C:\\Docs\\Archive\\K"});
  // Its run row records everything the run wrote, the other station's part included.
  EXPECT_EQ(Run("R1").Written, (std::map<std::string, int64_t>{{"Cards", 1}, {"Docs", 3}}));
}

TEST_F(JournalCommandsTest, AnUndoCountsTheRecordsAnotherStationChangesWhileItRuns) {
  install_.Seed({"C:\\Docs\\1", "C:\\Docs\\2", "C:\\Docs\\3", "C:\\Docs\\4"}, {});
  Ui().ConfirmAnswers = {true, true};
  ASSERT_EQ(ReplaceDocsPath(owner_, "C:\\Docs", "E:\\New").Outcome, TCommandOutcome::Completed);
  // Edited before the undo, edited while it runs, deleted while it runs.
  Exec("UPDATE Docs SET DOCUMENT_NAME = 'X:\\before' WHERE RECID = '1'");
  TOtherStation station(install_, {"UPDATE Docs SET DOCUMENT_NAME = 'X:\\during' WHERE RECID = '2'",
                                   "DELETE FROM Docs WHERE RECID = '3'"});
  TCommandOptions options;
  options.DocsObserver = &station;
  const TCommandResult undo = UndoPathRun(owner_, "R1", options);
  EXPECT_EQ(undo.Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(undo.Docs.Rewritten, 1);
  EXPECT_EQ(install_.DocumentNames(),
            (std::vector<std::string>{"X:\\before", "X:\\during", "C:\\Docs\\4"}));
  EXPECT_EQ(undo.Tally.ChangedSince, 2);
  EXPECT_EQ(undo.Tally.DeletedSince, 1);
  EXPECT_EQ(undo.Tally.Samples,
            (std::vector<std::string>{"Docs RECID 1: X:\\before", "Docs RECID 2: X:\\during",
                                      "Docs RECID 3: deleted"}));
  // The run it undid is marked, and its own run records what it put back.
  EXPECT_EQ(Run("R1").UndoneBy, "R2");
  EXPECT_EQ(Run("R2").Written, (std::map<std::string, int64_t>{{"Cards", 0}, {"Docs", 1}}));
}

// The undo runs on the replace's skeleton: the hourglass while it writes, a card-pass failure
// shown and logged as the replace does (the run is then not complete), and the connection
// information logged at its end.
TEST_F(JournalCommandsTest, AnUndoEndsAsTheReplaceDoesWhenItsCardPassFails) {
  install_.Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A", "C:\\Docs\\B"});
  Ui().ConfirmAnswers = {true, true};
  ASSERT_EQ(ReplaceDocsPath(owner_, "C:\\Docs", "E:\\New").Outcome, TCommandOutcome::Completed);
  install_.FailUpdatesOf("Cards", 2);
  Ui().Messages.clear();
  Ui().CursorHistory.clear();
  const size_t logBefore = install_.LogText().size();
  Ui().ConfirmAnswers = {true};
  const TCommandResult undo = UndoPathRun(owner_, "R1", {});
  EXPECT_EQ(undo.Outcome, TCommandOutcome::NotCompleted);
  EXPECT_EQ(Ui().CursorHistory.front(), TCursorKind::crHourGlass);
  EXPECT_EQ(Ui().Cursor(), TCursorKind::crDefault);
  ASSERT_EQ(Ui().Messages.size(), 1u);
  EXPECT_EQ(Ui().Messages[0], LoadStr(sProcessFailed) +
                                  "\r\nThe record could not be posted in table Cards: record 2 "
                                  "is locked");
  const std::string log = install_.LogText().substr(logBefore);
  const size_t failure = log.find("Proc_Name=UndoDocPathInCards\r\nRun R1\r\n");
  EXPECT_NE(failure, std::string::npos) << log;
  EXPECT_NE(log.find("ConnInfo: ", failure), std::string::npos) << log;
  EXPECT_EQ(install_.DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
  EXPECT_EQ(install_.CardFolders(), (std::vector<std::string>{"C:\\Docs\\A", "E:\\New\\B"}));
  EXPECT_TRUE(Run("R2").Incomplete());
  EXPECT_TRUE(Run("R1").UndoneBy.empty());
}

TEST_F(JournalCommandsTest, AStopSignalEndsTheRunSoThatItCanBeResumed) {
  install_.Seed({"C:\\Docs\\1", "C:\\Docs\\2", "C:\\Docs\\3", "C:\\Docs\\4"}, {"C:\\Docs\\K"});
  const std::vector<std::string> before = install_.DocumentNames();
  TStopAt stop(2);
  TReplaceOptions options;
  options.DocsObserver = &stop;
  Ui().ConfirmAnswers = {true, true};
  const TCommandResult stopped = ReplaceDocsPath(owner_, "C:\\Docs", "C:\\Docs\\Archive", options);
  EXPECT_EQ(stopped.Outcome, TCommandOutcome::Interrupted);
  EXPECT_EQ(stopped.StopSignal, SIGTERM);
  EXPECT_EQ(install_.System->StopSignalsWatched, (std::vector<bool>{true, false}));
  // What it wrote is committed and counted as the database holds it; nothing says completed.
  EXPECT_EQ(stopped.Docs.Rewritten, 2);
  EXPECT_EQ(StoredUnder("C:\\Docs\\Archive\\"), 2);
  EXPECT_EQ(stopped.Cards.Rewritten, 0);
  EXPECT_TRUE(Ui().Messages.empty()) << Ui().Messages.at(0);
  const TPathRun run = Run("R1");
  EXPECT_TRUE(run.Incomplete());
  EXPECT_EQ(run.Written, (std::map<std::string, int64_t>{{"Cards", 0}, {"Docs", 2}}));
  const std::string text = StoppedRunText(stopped);
  EXPECT_EQ(text, Format(LoadStr(sStoppedBySignal), {"SIGTERM", 2, 2, 0}) + " " +
                      Format(LoadStr(sRunIncomplete), {"R1", "VrlChangeDocsPathCli --resume R1"}));
  EXPECT_NE(install_.LogText().find("Proc_Name=Stopped\r\n"), std::string::npos);
  EXPECT_NE(install_.LogText().find(text), std::string::npos);

  // The resume finishes it without nesting what the stopped run wrote.
  Ui().ConfirmAnswers = {true};
  EXPECT_EQ(ResumePathRun(owner_, "R1", {}).Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(StoredUnder("C:\\Docs\\Archive\\"), 4);
  EXPECT_EQ(StoredUnder("C:\\Docs\\Archive\\Archive\\"), 0);

  // An undo stopped the same way is resumed as an undo, and puts everything back.
  TStopAt stopUndo(1);
  TCommandOptions undoOptions;
  undoOptions.DocsObserver = &stopUndo;
  Ui().ConfirmAnswers = {true};
  const TCommandResult undo = UndoPathRun(owner_, "R1", undoOptions);
  EXPECT_EQ(undo.Outcome, TCommandOutcome::Interrupted);
  EXPECT_EQ(undo.RunId, "R2");
  EXPECT_TRUE(Run("R1").UndoneBy.empty());
  // While that undo is unfinished, the run it undoes is neither undone anew nor resumed.
  Ui().ConfirmAnswers = {true};
  EXPECT_EQ(UndoPathRun(owner_, "R1", {}).Outcome, TCommandOutcome::Refused);
  EXPECT_EQ(Ui().Messages.back(),
            Format(LoadStr(sUnfinishedUndo), {"R1", "R2", "VrlChangeDocsPathCli --resume R2"}));
  Ui().ConfirmAnswers = {true};
  const TCommandResult finished = ResumePathRun(owner_, "R2", {});
  EXPECT_EQ(finished.Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(finished.Tally.LeftAlone(), 0);
  EXPECT_EQ(install_.DocumentNames(), before);
  EXPECT_EQ(install_.CardFolders(), std::vector<std::string>{"C:\\Docs\\K"});
  EXPECT_EQ(Run("R1").UndoneBy, "R2");
}

// Three folders in one run: each value goes by the longest old folder that matches it, a stop
// leaves the run to be resumed with the same rows, and its undo restores everything.
TEST_F(JournalCommandsTest, ARunOfSeveralFoldersIsStoppedResumedAndUndoneAsOne) {
  install_.Seed({"C:\\Docs\\a.doc", "c:\\docs\\scans\\b.tif", "\\\\srv\\Docs\\c.doc",
                 "C:\\Docs\\Scans\\d.tif", "D:\\x.doc", "C:\\Docs2\\e.doc"},
                {"C:\\Docs", "C:\\Docs\\Scans\\K\\", "C:\\DOCS2"});
  const std::vector<std::string> docsBefore = install_.DocumentNames();
  const std::vector<std::string> cardsBefore = install_.CardFolders();
  const TFolderMappingRows rows = {
      {"C:\\Docs", "E:\\Docs"}, {"C:\\Docs\\Scans", "E:\\Scans"}, {"\\\\srv\\Docs", "E:\\Docs"}};
  TStopAt stop(2);
  TReplaceOptions options;
  options.DocsObserver = &stop;
  Ui().ConfirmAnswers = {true, true};
  const TCommandResult stopped = ReplaceDocsPaths(owner_, rows, options);
  ASSERT_EQ(stopped.Outcome, TCommandOutcome::Interrupted);
  EXPECT_EQ(stopped.Docs.ByRow, (std::vector<int64_t>{1, 1, 0}));
  EXPECT_EQ(stopped.Mappings, rows);
  const TPathRun run = Run("R1");
  EXPECT_TRUE(run.Incomplete());
  EXPECT_EQ(run.Mappings, rows);
  EXPECT_EQ(run.OldFolder, Format(LoadStr(sFolderCount), {3}));
  EXPECT_EQ(run.NewFolder, "E:\\Docs");
  EXPECT_NE(install_.LogText().find("C:\\Docs -> E:\\Docs\r\nC:\\Docs\\Scans -> E:\\Scans\r\n"
                                    "\\\\srv\\Docs -> E:\\Docs\r\n"),
            std::string::npos);

  Ui().ConfirmAnswers = {true};
  const TCommandResult resumed = ResumePathRun(owner_, "R1", {});
  ASSERT_EQ(resumed.Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(resumed.Mappings, rows);
  EXPECT_EQ(resumed.Docs.ByRow, (std::vector<int64_t>{0, 1, 1}));
  EXPECT_EQ(resumed.Cards.ByRow, (std::vector<int64_t>{1, 1, 0}));
  EXPECT_EQ(install_.DocumentNames(),
            (std::vector<std::string>{"E:\\Docs\\a.doc", "E:\\Scans\\b.tif", "E:\\Docs\\c.doc",
                                      "E:\\Scans\\d.tif", "D:\\x.doc", "C:\\Docs2\\e.doc"}));
  EXPECT_EQ(install_.CardFolders(),
            (std::vector<std::string>{"E:\\Docs", "E:\\Scans\\K", "C:\\DOCS2"}));
  TPathJournal journal;
  const TRunFolders folders = CountRunFolders(journal, Run("R1"));
  ASSERT_EQ(folders.Counts.size(), 3u);
  EXPECT_EQ(folders.Counts[0].Docs, 1);
  EXPECT_EQ(folders.Counts[0].Cards, 1);
  EXPECT_EQ(folders.Counts[1].Docs, 2);
  EXPECT_EQ(folders.Counts[1].Cards, 1);
  EXPECT_EQ(folders.Counts[2].Docs, 1);
  EXPECT_EQ(folders.Counts[2].Cards, 0);
  EXPECT_EQ(folders.Unmatched.Docs + folders.Unmatched.Cards, 0);

  Ui().ConfirmAnswers = {true};
  const TCommandResult undo = UndoPathRun(owner_, "R1", {});
  EXPECT_EQ(undo.Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(undo.Tally.LeftAlone(), 0);
  EXPECT_EQ(install_.DocumentNames(), docsBefore);
  EXPECT_EQ(install_.CardFolders(), cardsBefore);
  EXPECT_EQ(Run("R1").UndoneBy, "R2");
}

}  // namespace
