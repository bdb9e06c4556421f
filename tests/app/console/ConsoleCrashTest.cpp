// A replace killed in the middle: the posts are grouped into transactions for speed, yet the
// database must stay sound and every record must hold either its old or its new value.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "docpaths/PathRewriteRules.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tests/support/DemoInstallation.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kOld = "C:\\VarnelDocs";
const std::string kNew = "E:\\Moved\\Docs";

// The console program started in the background, killed unless it has ended.
class TBackgroundRun {
 public:
  TBackgroundRun(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2})
      posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~TBackgroundRun() {
    if (pid_ > 0 && !ended_) Kill();
  }
  bool Started() const { return pid_ > 0; }
  // True once the program has ended by itself.
  bool Ended() {
    if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
    return ended_;
  }
  // SIGKILL, as a power cut or a killed task would; true when the program was still running.
  bool Kill() {
    if (Ended()) return false;
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    ended_ = true;
    return WIFSIGNALED(status_) && WTERMSIG(status_) == SIGKILL;
  }

 private:
  pid_t pid_ = 0;
  int status_ = 0;
  bool ended_ = false;
};

// The text of the first column of every row of the query, in order.
std::vector<std::string> Column(TAceConnection& connection, const std::string& sql) {
  std::vector<std::string> values;
  auto cursor = connection.OpenQuery(sql, {});
  for (; !cursor->Eof(); cursor->Next()) values.push_back(cursor->FieldText(0));
  return values;
}

// The stored path of the first document ("" for NULL).
std::string FirstDocument(TAceConnection& connection) {
  auto cursor = connection.OpenQuery("SELECT DOCUMENT_NAME FROM Docs ORDER BY rowid LIMIT 1", {});
  return cursor->Eof() ? std::string() : cursor->FieldText(0);
}

// Waits until the first document holds firstNew (the first posts are committed), then kills the
// run at once.
::testing::AssertionResult KillAfterFirstCommit(TBackgroundRun& run, TAceDriver& engine,
                                                const fs::path& dbFolder,
                                                const std::string& firstNew) {
  auto live = engine.Connect(dbFolder.string(), TAdsServerType::stADS_LOCAL);
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (FirstDocument(*live) != firstNew) {
    if (run.Ended())
      return ::testing::AssertionFailure() << "the replace ended before its first commit was seen";
    if (std::chrono::steady_clock::now() >= deadline)
      return ::testing::AssertionFailure() << "no commit seen within a minute";
    std::this_thread::sleep_for(1ms);  // poll interval only: the value is the signal
  }
  if (!run.Kill())
    return ::testing::AssertionFailure() << "the replace ended before it could be killed";
  return ::testing::AssertionSuccess();
}

TEST(ConsoleCrashTest, AKilledReplaceLeavesASoundDatabaseWithOldOrNewValues) {
  TDemoInstallation demo({"--documents", "200000", "--cards", "20000"});
  TTempDir pristineFolder;
  fs::copy_file(demo.DatabaseFile(), pristineFolder.Path() / demo.DatabaseFile().filename());
  auto engine = CreateSqliteAceDriver();
  auto pristine = engine->Connect(pristineFolder.Path().string(), TAdsServerType::stADS_LOCAL);
  const std::vector<std::string> docsBefore =
      Column(*pristine, "SELECT DOCUMENT_NAME FROM Docs ORDER BY rowid");
  const std::vector<std::string> cardsBefore =
      Column(*pristine, "SELECT DOCSFOLDER FROM Cards ORDER BY rowid");
  const TDocPathRule docRule = MakeDocPathRule(kOld, kNew);
  const TCardFolderRule cardRule = MakeCardFolderRule(kOld, kNew);
  std::string rewritten;
  ASSERT_TRUE(RewriteDocPath(docRule, docsBefore[0], rewritten));
  const std::string firstNew = rewritten;

  TBackgroundRun run((demo.Utils() / "VrlChangeDocsPathCli").string(),
                     {"--old", kOld, "--new", kNew, "--yes"});
  ASSERT_TRUE(run.Started());
  ASSERT_TRUE(KillAfterFirstCommit(run, *engine, demo.DatabaseFolder(), firstNew));

  auto killed = engine->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  EXPECT_EQ(Column(*killed, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  const std::vector<std::string> docsAfter =
      Column(*killed, "SELECT DOCUMENT_NAME FROM Docs ORDER BY rowid");
  ASSERT_EQ(docsAfter.size(), docsBefore.size());
  size_t moved = 0, kept = 0;
  for (size_t i = 0; i < docsBefore.size(); ++i) {
    const bool matches = RewriteDocPath(docRule, docsBefore[i], rewritten);
    if (matches && docsAfter[i] == rewritten)
      ++moved;
    else if (docsAfter[i] == docsBefore[i])
      kept += matches;
    else
      ADD_FAILURE() << "document " << i + 1 << " holds " << docsAfter[i];
  }
  EXPECT_GT(moved, 0u);  // the commits before the kill stayed
  EXPECT_GT(kept, 0u);   // the kill came in the middle of the documents

  const std::vector<std::string> cardsAfter =
      Column(*killed, "SELECT DOCSFOLDER FROM Cards ORDER BY rowid");
  ASSERT_EQ(cardsAfter.size(), cardsBefore.size());
  std::string folder, rest;
  for (size_t i = 0; i < cardsBefore.size(); ++i) {
    const bool matches = RewriteCardFolder(cardRule, cardsBefore[i], folder, rest, rewritten);
    if (cardsAfter[i] != cardsBefore[i] && !(matches && cardsAfter[i] == rewritten))
      ADD_FAILURE() << "card " << i + 1 << " holds " << cardsAfter[i];
  }
}

// RECID -> stored value of the query's two columns.
std::map<std::string, std::string> ById(TAceConnection& connection, const std::string& sql) {
  std::map<std::string, std::string> values;
  auto cursor = connection.OpenQuery(sql, {});
  for (; !cursor->Eof(); cursor->Next()) values[cursor->FieldText(0)] = cursor->FieldText(1);
  return values;
}

// Kills a journalled replace after its first commit, then checks that the journal matches the
// records row for row, that the run is listed incomplete, and that --resume finishes it.
TEST(ConsoleCrashTest, AKilledJournalledReplaceKeepsItsJournalAndResumes) {
  TDemoInstallation demo({"--documents", "200000", "--cards", "20000"});
  auto engine = CreateSqliteAceDriver();
  const std::string docsSql = "SELECT RECID, DOCUMENT_NAME FROM Docs";
  std::map<std::string, std::string> pristine;
  {
    auto db = engine->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
    pristine = ById(*db, docsSql);
  }
  const TDocPathRule rule = MakeDocPathRule(kOld, kNew);
  std::string firstNew;
  ASSERT_TRUE(RewriteDocPath(rule, pristine.at("D000000001"), firstNew));
  const std::string cli = (demo.Utils() / "VrlChangeDocsPathCli").string();

  TBackgroundRun run(cli, {"--old", kOld, "--new", kNew, "--yes"});
  ASSERT_TRUE(run.Started());
  ASSERT_TRUE(KillAfterFirstCommit(run, *engine, demo.DatabaseFolder(), firstNew));

  size_t changed = 0;
  {
    auto killed = engine->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
    const auto after = ById(*killed, docsSql);
    auto journal = killed->OpenQuery(
        "SELECT RecId, OldValue, NewValue FROM VrlPathJournal WHERE RunId = 'R1' AND "
        "TableName = 'Docs'",
        {});
    size_t rows = 0;
    for (; !journal->Eof(); journal->Next(), ++rows) {
      const std::string id = journal->FieldText(0);
      EXPECT_EQ(journal->FieldText(1), pristine.at(id)) << id;
      EXPECT_EQ(journal->FieldText(2), after.at(id)) << id;
    }
    for (const auto& [id, value] : after) changed += value != pristine.at(id);
    EXPECT_GT(changed, 0u);
    EXPECT_EQ(rows, changed);  // no record changed without its journal row
  }
  const TProgramRun list = RunProgram(cli, {"--list-runs"});
  EXPECT_NE(list.Out.find("R1  "), std::string::npos) << list.Out;
  EXPECT_NE(list.Out.find("replace, incomplete\n"), std::string::npos) << list.Out;

  const TProgramRun resume = RunProgram(cli, {"--resume", "R1", "--yes"});
  EXPECT_EQ(resume.ExitCode, 0) << resume.Err;
  auto db = engine->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  std::string rewritten;
  size_t moved = 0;
  for (const auto& [id, value] : ById(*db, docsSql)) {
    const bool matches = RewriteDocPath(rule, pristine.at(id), rewritten);
    EXPECT_EQ(value, matches ? rewritten : pristine.at(id)) << id;
    moved += matches;
  }
  EXPECT_GT(moved, changed);
  EXPECT_NE(RunProgram(cli, {"--list-runs"}).Out.find("Docs " + std::to_string(moved) + ", "),
            std::string::npos);
}

}  // namespace
