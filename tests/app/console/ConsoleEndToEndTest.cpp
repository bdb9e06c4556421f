// The console program as a user runs it, on installations laid out by VrlDemoInstall.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "common/Format.h"
#include "common/StrTable.h"
#include "db/ReplaceLock.h"

#include "platform/Platform.h"
#include "platform/engine/postgres/PgAceDriver.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/DemoInstallation.h"
#include "tests/support/RunProgram.h"

namespace {

class ConsoleEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override { engine_ = CreateSqliteAceDriver(); }
  // The console program as installed in the demo installation's Utils folder.
  static TProgramRun RunCli(const TDemoInstallation& demo, const std::vector<std::string>& args) {
    return RunProgram((demo.Utils() / "VrlChangeDocsPathCli").string(), args);
  }
  // The console program's event log in the demo installation.
  static std::string Log(const TDemoInstallation& demo) {
    return TCrmTestInstall::ReadBytes(
        (demo.Root() / "Logs" / "UserLog_VrlChangeDocsPathCli.TXT").string());
  }
  std::unique_ptr<TAceDriver> engine_;
};

// The same runs on the local server and on the remote one (the test PostgreSQL cluster).
class ConsoleEndToEndOnEachServer : public ConsoleEndToEndTest,
                                    public ::testing::WithParamInterface<TDemoServer> {
 protected:
  TDemoInstallation Demo(const std::vector<std::string>& options) const {
    return TDemoInstallation(options, "CRM", GetParam());
  }
};

int Count(const TDemoInstallation& demo, const std::string& sql) {
  return std::stoi(demo.QueryValue(sql));
}

TEST_P(ConsoleEndToEndOnEachServer, ReplacesTheDemoInstallationsPathsAndPrintsTheCounts) {
  const TDemoInstallation demo = Demo({"--documents", "300", "--cards", "40"});
  const int before = Count(demo,
                           "SELECT COUNT(*) FROM Docs WHERE substr(UPPER(DOCUMENT_NAME), 1, 14) = "
                           "'C:\\VARNELDOCS\\'");
  ASSERT_GT(before, 0);
  // The main job: the old path is the documents folder the demo's preferences hold.
  const TProgramRun run = RunCli(demo, {"--new", "E:\\Docs", "--yes"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Out.rfind("Old path (documents folder of the preferences): C:\\VarnelDocs\n", 0),
            0u)
      << run.Out;
  EXPECT_NE(run.Out.find("Operation completed\n"), std::string::npos);
  EXPECT_NE(run.Out.find("Documents: 300 examined, " + std::to_string(before) + " rewritten\n"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("Cards: 40 examined, "), std::string::npos);
  EXPECT_EQ(
      Count(demo, "SELECT COUNT(*) FROM Docs WHERE substr(DOCUMENT_NAME, 1, 8) = 'E:\\Docs\\'"),
      before);
  EXPECT_EQ(run.Err, "");  // no terminal: no progress line

  // The event log holds the replace and the connection information after it.
  const std::string log = Log(demo);
  const std::string program = (demo.Utils() / "VrlChangeDocsPathCli").string();
  EXPECT_EQ(log.rfind("[", 0), 0u);  // a new file starts with the header line
  EXPECT_NE(log.find(" v1.0.0.1  ** "), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nSys Vrl \r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\nProc_Name=Change Docs Path\r\nC:\\VarnelDocs\r\nE:\\Docs\r\n"),
            std::string::npos);
  // The remote installation says so, and its connection is "Remote".
  EXPECT_NE(log.find(std::string("\r\nProc_Name=ConnInfo: ") + (demo.Remote() ? "1 " : "0 ") +
                     program + (demo.Remote() ? " Remote 1 " : " Local 1 ") +
                     demo.DatabaseFolder().string() + " DBConnection 0 0 "),
            std::string::npos)
      << log;
  EXPECT_LT(log.find("Proc_Name=Change Docs Path"), log.find("Proc_Name=ConnInfo: "));
  // The demo's preferences loaded without a failure, and set the date formats.
  EXPECT_NE(log.find("Proc_Name=PrefDT:"), std::string::npos);
  EXPECT_EQ(log.find("DisplayErr"), std::string::npos);
  EXPECT_EQ(log.find("SetTokenDataForUser"), std::string::npos);
}

TEST_F(ConsoleEndToEndTest, AMissingEngineClientFileStopsTheStartUp) {
  TDemoInstallation demo({"--documents", "10", "--cards", "2"});
  std::filesystem::remove(demo.Utils() / "Ansi.chr");
  const std::string before = TCrmTestInstall::ReadBytes(demo.DatabaseFile().string());
  const TProgramRun run = RunCli(demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"});
  EXPECT_EQ(run.ExitCode, 2);
  const std::string program = (demo.Utils() / "VrlChangeDocsPathCli").string();
  const std::string message = "VrlChangeDocsPathCli operation stopped.\r\n\r\nFolder:\r\n" +
                              demo.Utils().string() + "/\r\n\r\nMissing Files:\r\nAnsi.chr" +
                              "\r\n\r\n(" + program + ")";
  EXPECT_EQ(run.Err, message + "\n");
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(Log(demo).find("Proc_Name=VrlHlt-0\r\n" + message + "\r\n"), std::string::npos);
  EXPECT_EQ(TCrmTestInstall::ReadBytes(demo.DatabaseFile().string()), before);
}

TEST_F(ConsoleEndToEndTest, APercentSignInTheInstallationPathIsShownAsItIs) {
  // The engine check's message ends with the program path; "%s" and "%d" in it are text.
  TDemoInstallation demo({"--documents", "10", "--cards", "2"}, "CRM 100% %s %d");
  std::filesystem::remove(demo.Utils() / "Ansi.chr");
  const TProgramRun run = RunCli(demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"});
  EXPECT_EQ(run.ExitCode, 2) << run.Err;
  const std::string program = (demo.Utils() / "VrlChangeDocsPathCli").string();
  const std::string message = "VrlChangeDocsPathCli operation stopped.\r\n\r\nFolder:\r\n" +
                              demo.Utils().string() + "/\r\n\r\nMissing Files:\r\nAnsi.chr" +
                              "\r\n\r\n(" + program + ")";
  EXPECT_EQ(run.Err, message + "\n");
  EXPECT_NE(Log(demo).find("Proc_Name=VrlHlt-0\r\n" + message + "\r\n"), std::string::npos)
      << Log(demo);
}

TEST_P(ConsoleEndToEndOnEachServer, AReplaceOfAnotherStationRefusesThisOneBeforeItChangesAnything) {
  const TDemoInstallation demo = Demo({"--documents", "50", "--cards", "5"});
  const std::string before = demo.Snapshot();
  {
    // Held by this test process: another station's replace, on the remote server from no
    // database folder at all (the lock is the server's).
    std::unique_ptr<TAceConnection> station;
    TReplaceLock other;
    if (demo.Remote()) {
      station = ConnectPg(demo.Conninfo());
      ASSERT_EQ(other.AcquireOnServer(*station), TReplaceLock::TResult::Held);
    } else {
      ASSERT_EQ(other.Acquire(demo.DatabaseFolder().string()), TReplaceLock::TResult::Held);
    }
    const TProgramRun run = RunCli(demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"});
    EXPECT_EQ(run.ExitCode, 1);
    const std::string refusal = LoadStr(sAnotherReplaceRunning) + "\n";
    if (demo.Remote()) {
      // The station holding the lock is connected to the database: it is counted first.
      EXPECT_EQ(run.Err.rfind(LoadStr(sOneOtherStation) + "\n", 0), 0u) << run.Err;
      EXPECT_TRUE(run.Err.ends_with("\n" + refusal)) << run.Err;
    } else {
      EXPECT_EQ(run.Err, refusal);
    }
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(demo.Snapshot(), before);
  }
  const TProgramRun run = RunCli(demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(demo.Snapshot(), before);
}

TEST_F(ConsoleEndToEndTest, AFileSizeLimitFailsTheWritesInsteadOfKillingTheProgram) {
  TDemoInstallation demo({"--documents", "2000", "--cards", "200"});
  // The shell's limit is in blocks of 512 bytes: far below what the rewrite needs to write.
  const TProgramRun run = RunProgram(
      "/bin/sh", {"-c", "ulimit -f 150; exec \"$0\" \"$@\"",
                  (demo.Utils() / "VrlChangeDocsPathCli").string(), "--old", "C:\\VarnelDocs",
                  "--new", "E:\\A much longer shared documents folder name\\Docs", "--yes"});
  EXPECT_NE(run.ExitCode, 128 + SIGXFSZ) << "ended by the file-size signal";
  EXPECT_TRUE(run.ExitCode == 0 || run.ExitCode == 2) << run.ExitCode << "\n" << run.Err;
  auto connection = engine_->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  EXPECT_EQ(connection->OpenQuery("PRAGMA integrity_check", {})->FieldText(0), "ok");
}

// SIGTERM while the replace waits for another station's write: the replace stops before its
// first record, keeps its run incomplete, says how to resume it and ends with 128 + 15.
TEST_F(ConsoleEndToEndTest, AStopSignalEndsTheReplaceSoThatItCanBeResumed) {
  TDemoInstallation demo({"--documents", "300", "--cards", "40"});
  auto other = engine_->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  other->ExecSQL("BEGIN IMMEDIATE", {});  // another station writing: the replace waits for it
  TStartedProgram cli((demo.Utils() / "VrlChangeDocsPathCli").string(),
                      {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"});
  ASSERT_TRUE(WaitForFileText(demo.Root() / "Logs" / "UserLog_VrlChangeDocsPathCli.TXT",
                              "Proc_Name=Change Docs Path"));
  cli.Signal(SIGTERM);
  other->ExecSQL("COMMIT", {});
  const TProgramRun run = cli.Wait();
  EXPECT_EQ(run.ExitCode, 128 + SIGTERM) << run.Out << run.Err;
  EXPECT_EQ(run.Err,
            Format(LoadStr(sStoppedBySignal), {"SIGTERM", 0, 0, 0}) + " " +
                Format(LoadStr(sRunIncomplete), {"R1", "VrlChangeDocsPathCli --resume R1"}) + "\n");
  EXPECT_NE(Log(demo).find("Proc_Name=Stopped\r\n"), std::string::npos);
  EXPECT_NE(RunCli(demo, {"--list-runs"}).Out.find("replace, incomplete"), std::string::npos);

  const TProgramRun resume = RunCli(demo, {"--resume", "R1", "--yes"});
  EXPECT_EQ(resume.ExitCode, 0) << resume.Err;
  EXPECT_EQ(Count(demo,
                  "SELECT COUNT(*) FROM Docs WHERE substr(UPPER(DOCUMENT_NAME), 1, 14) = "
                  "'C:\\VARNELDOCS\\'"),
            0);
}

TEST_P(ConsoleEndToEndOnEachServer, ADryRunLeavesTheDatabaseFileByteIdentical) {
  const TDemoInstallation demo = Demo({"--documents", "200", "--cards", "20"});
  const std::string before = demo.Snapshot();
  const TProgramRun run =
      RunCli(demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--dry-run"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find(" -> E:\\Docs\\"), std::string::npos);
  EXPECT_EQ(demo.Snapshot(), before);
}

TEST_P(ConsoleEndToEndOnEachServer, TheSurveyOfTheDemoShowsTheSecondSpellingOfItsFolder) {
  const TDemoInstallation demo = Demo({"--documents", "200", "--cards", "20"});
  const std::string before = demo.Snapshot();
  const std::string second = "\\\\fs1\\C$\\VarnelDocs";
  const int documents = Count(
      demo, "SELECT COUNT(*) FROM Docs WHERE substr(DOCUMENT_NAME, 1, 20) = '" + second + "\\'");
  ASSERT_GT(documents, 0);
  const TProgramRun survey = RunCli(demo, {"--survey"});
  EXPECT_EQ(survey.ExitCode, 0) << survey.Err;
  const size_t cards = survey.Out.find("\nCards (Cards.DOCSFOLDER): 20 records\n");
  const size_t prefs = survey.Out.find("\nPreferences (text values of Pref): ");
  ASSERT_NE(cards, std::string::npos) << survey.Out;
  ASSERT_NE(prefs, std::string::npos) << survey.Out;
  EXPECT_NE(
      survey.Out.substr(0, cards).find(" " + std::to_string(documents) + "  " + second + "\n"),
      std::string::npos)
      << survey.Out;
  EXPECT_NE(survey.Out.find(" 1  " + second + "\n", prefs), std::string::npos) << survey.Out;
  EXPECT_EQ(demo.Snapshot(), before);

  // A dry run from the documents folder names it among the folders it leaves alone.
  const TProgramRun dry = RunCli(demo, {"--new", "E:\\Docs", "--dry-run"});
  EXPECT_EQ(dry.ExitCode, 0) << dry.Err;
  EXPECT_NE(dry.Out.find("  other folder: " + second + " (" + std::to_string(documents) + ")\n"),
            std::string::npos)
      << dry.Out;
}

// Every row of Docs, Cards and Pref in natural order, NULL told from empty text.
std::string DocsAndCards(const TDemoInstallation& demo) {
  if (demo.Remote()) return demo.Snapshot();  // the CRM tables, row by row
  return TCrmTestInstall::RowsIn(demo.DatabaseFolder().string(), {"Docs", "Cards", "Pref"});
}

TEST_P(ConsoleEndToEndOnEachServer, AReplaceIsJournalledListedAndUndoneExactly) {
  const TDemoInstallation demo = Demo({"--documents", "200", "--cards", "20"});
  const std::string before = DocsAndCards(demo);
  const TProgramRun replace = RunCli(
      demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes", "--preferences", "update"});
  ASSERT_EQ(replace.ExitCode, 0) << replace.Err;
  EXPECT_NE(replace.Out.find("Run R1 is journalled."), std::string::npos) << replace.Out;
  ASSERT_NE(DocsAndCards(demo), before);
  // The folder preferences of the demo, all users and one user, follow in the same run.
  EXPECT_EQ(Count(demo, "SELECT COUNT(*) FROM Pref WHERE substr(VALUE, 1, 7) = 'E:\\Docs'"), 3);

  const TProgramRun undo = RunCli(demo, {"--undo", "r1", "--yes"});
  EXPECT_EQ(undo.ExitCode, 0) << undo.Err;
  EXPECT_EQ(DocsAndCards(demo), before);
  const TProgramRun list = RunCli(demo, {"--list-runs"});
  EXPECT_EQ(list.ExitCode, 0) << list.Err;
  EXPECT_EQ(list.Out.rfind("R1  ", 0), 0u) << list.Out;
  EXPECT_NE(list.Out.find("C:\\VarnelDocs -> E:\\Docs"), std::string::npos) << list.Out;
  EXPECT_NE(list.Out.find(", undone by R2\n"), std::string::npos) << list.Out;
}

// The lines a run of several folders prints for its folders ("Folder old -> new: ...").
std::string FolderLines(const std::string& out) {
  std::string lines;
  for (size_t at = out.find("\nFolder "); at != std::string::npos;
       at = out.find("\nFolder ", at + 1))
    lines += out.substr(at + 1, out.find('\n', at + 1) - at);
  return lines;
}

// Three folders in one run: what it says it wrote per folder is what its journal holds, and
// its undo restores every row.
TEST_P(ConsoleEndToEndOnEachServer, SeveralFoldersAreReplacedInOneRunAndUndoneExactly) {
  const TDemoInstallation demo = Demo({"--documents", "200", "--cards", "20"});
  const std::string before = DocsAndCards(demo);
  const std::filesystem::path mapping = demo.Root() / "moves.csv";
  std::ofstream(mapping, std::ios::binary)
      << "old,new\r\nC:\\VarnelDocs,E:\\Docs\r\n"
         "\"C:\\VarnelDocs\\Cohen Trading Ltd 2\",\"E:\\Clients\\Cohen, Trading\"\r\n"
         "\\\\FILESRV01\\Scans,E:\\Scans\r\n";
  const TProgramRun replace = RunCli(demo, {"--mapping", mapping.string(), "--yes"});
  ASSERT_EQ(replace.ExitCode, 0) << replace.Err;
  EXPECT_EQ(Count(demo,
                  "SELECT COUNT(*) FROM Docs WHERE substr(UPPER(DOCUMENT_NAME), 1, 14) = "
                  "'C:\\VARNELDOCS\\'"),
            0);
  const std::string folders = FolderLines(replace.Out);
  EXPECT_EQ(folders.rfind("Folder C:\\VarnelDocs -> E:\\Docs: Documents ", 0), 0u) << replace.Out;
  const TProgramRun show = RunCli(demo, {"--show-run", "R1"});
  EXPECT_EQ(show.ExitCode, 0) << show.Err;
  EXPECT_NE(show.Out.find("  3 folders -> E:\\Docs  "), std::string::npos) << show.Out;
  EXPECT_EQ(FolderLines(show.Out), folders);

  ASSERT_EQ(RunCli(demo, {"--undo", "R1", "--yes"}).ExitCode, 0);
  EXPECT_EQ(DocsAndCards(demo), before);
}

TEST_P(ConsoleEndToEndOnEachServer, EachExitCode) {
  TDemoInstallation demo = Demo({"--documents", "10", "--cards", "2"});
  // No terminal and no --yes: refused, nothing changed.
  const std::string before = demo.Snapshot();
  const TProgramRun refused = RunCli(demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs"});
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_EQ(demo.Snapshot(), before);
  EXPECT_EQ(RunCli(demo, {"--new", "E:\\Docs", "--wrong"}).ExitCode, 64);
  // The database gone (the local folder, the remote database): the connection's own message,
  // and the start-up fails.
  demo.RemoveDatabase();
  const TProgramRun noDatabase =
      RunCli(demo, {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"});
  EXPECT_EQ(noDatabase.ExitCode, 2);
  // The local server's text, or the remote one's with the folder and the server's message.
  EXPECT_EQ(
      noDatabase.Err.rfind(LoadStr(demo.Remote() ? sServerAccessHalted : sDatabaseAccessHalted), 0),
      0u)
      << noDatabase.Err;
  if (!demo.Remote()) {
    EXPECT_EQ(noDatabase.Err.rfind("Procedure halted due to data database/server access error.", 0),
              0u);
  }
  const std::string log = Log(demo);
  EXPECT_NE(log.find("Proc_Name=VrlHlt-1\r\n"), std::string::npos);
  EXPECT_NE(log.find("Sender_Class=TChangePathForDocsCli\r\n"), std::string::npos);
  if (demo.Remote()) {
    EXPECT_NE(noDatabase.Err.find("(" + demo.DatabaseFolder().string() + ")"), std::string::npos);
    EXPECT_NE(noDatabase.Err.find("does not exist"), std::string::npos) << noDatabase.Err;
  }
}

INSTANTIATE_TEST_SUITE_P(Servers, ConsoleEndToEndOnEachServer,
                         ::testing::Values(TDemoServer::Local, TDemoServer::Remote),
                         [](const auto& info) { return DemoServerName(info.param); });

}  // namespace
