// --json on the console program's commands: exactly one JSON object on the output, named for its
// command, with the process's exit code and the counts the database holds; messages and
// questions for people stay on the error stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "app/console/ConsoleExitCodes.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "tests/app/console/ConsoleRun.h"
#include "tests/support/AppTestInstallation.h"

namespace {

using nlohmann::json;

// The output of a --json run: one object on one line, nothing before or after it (the parse
// throws on anything more), carrying the run's exit code.
json Parse(const TConsoleRun& run) {
  EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 1) << run.Out;
  const json object = json::parse(run.Out);
  EXPECT_TRUE(object.is_object()) << run.Out;
  EXPECT_EQ(object.value("exit_code", -1), run.Code) << run.Out;
  return object;
}

// How many of the values differ between before and after.
int64_t Changed(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  int64_t changed = 0;
  for (size_t i = 0; i < before.size() && i < after.size(); ++i) changed += before[i] != after[i];
  return changed;
}

class ConsoleJsonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.Seed({"C:\\Docs\\a.doc", "c:\\docs\\Sub\\b.doc", "D:\\x.doc", ""},
                  {"C:\\Docs\\A", "D:\\B", "C:\\DOCS"});
    install_.Pref("-1", "DOC_MAIN_FOLDER", "A", "C:\\Docs");
  }
  static TConsoleRun Json(std::vector<std::string> args, const std::string& typed = {},
                          TConsoleTerminal terminal = {}) {
    args.push_back("--json");
    return RunConsole(args, typed, terminal);
  }
  void Exec(const std::string& sql) const { install_.Open()->ExecSQL(sql, {}); }

  TAppTestInstallation install_{"VrlChangeDocsPathCli"};
};

TEST_F(ConsoleJsonTest, EveryCommandNamesItselfWithItsExitCodeAndOutcome) {
  struct TCase {
    std::vector<std::string> Args;
    json Command;
    int Code;
    const char* Outcome;  // nullptr: none
    bool Error;           // an "error" key: what a failed or refused command told
  };
  const std::vector<TCase> cases = {
      {{"--old", "C:\\Docs", "--new", "E:\\New", "--dry-run"},
       "dry-run",
       ecCompleted,
       "completed",
       false},
      {{"--old", "C:\\Docs", "--new", "E:\\New"}, "replace", ecRefused, "not-confirmed", true},
      {{"--old", "C:\\Docs", "--new", "E:\\New", "--yes"},
       "replace",
       ecCompleted,
       "completed",
       false},
      {{"--list-runs"}, "list-runs", ecCompleted, "completed", false},
      {{"--show-run", "R1"}, "show-run", ecCompleted, "completed", false},
      {{"--show-run", "R7"}, "show-run", ecRefused, "refused", true},
      {{"--resume", "R1", "--yes"}, "resume", ecRefused, "refused", true},
      {{"--undo", "R1", "--yes", "--dry-run"}, "undo", ecCompleted, "completed", false},
      {{"--undo", "R1", "--yes"}, "undo", ecCompleted, "completed", false},
      {{"--undo", "R1", "--yes"}, "undo", ecRefused, "refused", true},
      {{"--survey"}, "survey", ecCompleted, "completed", false},
      {{"--new", "E:\\New", "--no-such-option"}, nullptr, ecUsage, nullptr, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Args.front() + " " + c.Args.back());
    const TConsoleRun run = Json(c.Args);
    EXPECT_EQ(run.Code, c.Code) << run.Err;
    const json object = Parse(run);
    EXPECT_EQ(object.at("command"), c.Command);
    if (c.Outcome)
      EXPECT_EQ(object.at("outcome"), c.Outcome);
    else
      EXPECT_FALSE(object.contains("outcome"));
    // The error is the last thing told on the error stream.
    ASSERT_EQ(object.contains("error"), c.Error) << run.Out;
    if (c.Error) {
      EXPECT_NE(run.Err.find(object.at("error").get<std::string>()), std::string::npos) << run.Err;
    }
  }
}

TEST_F(ConsoleJsonTest, ReplaceListAndUndoTellWhatTheDatabaseHolds) {
  const std::vector<std::string> docs = install_.DocumentNames();
  const std::vector<std::string> cards = install_.CardFolders();

  const json dry = Parse(Json({"--old", "C:\\Docs", "--new", "E:\\New", "--dry-run"}));
  EXPECT_EQ(install_.DocumentNames(), docs);
  EXPECT_EQ(dry.at("dry_run"), true);
  EXPECT_EQ(dry.at("run_id"), nullptr);
  const json& preflight = dry.at("preflight");
  EXPECT_EQ(preflight.at("new_under_old"), false);
  EXPECT_EQ(preflight.at("Docs").at("will_change").at("count"), 2);
  EXPECT_EQ(preflight.at("Docs").at("will_change").at("samples").at(1),
            (json{{"value", "c:\\docs\\Sub\\b.doc"}, {"related", "E:\\New\\Sub\\b.doc"}}));
  EXPECT_EQ(preflight.at("Docs").at("other_folders"),
            (json{{"count", 1}, {"top", {{{"folder", "D:\\"}, {"count", 1}}}}}));
  EXPECT_EQ(preflight.at("Cards").at("will_change").at("count"), 2);
  EXPECT_EQ(preflight.at("Pref").at("will_change").at("count"), 1);

  const json replace = Parse(Json({"--old", "C:\\Docs", "--new", "E:\\New", "--yes"}));
  const json& tables = replace.at("tables");
  EXPECT_EQ(tables.at("Docs").at("examined"), 4);
  EXPECT_EQ(tables.at("Docs").at("rewritten"), Changed(docs, install_.DocumentNames()));
  EXPECT_EQ(tables.at("Cards").at("rewritten"), Changed(cards, install_.CardFolders()));
  EXPECT_EQ(tables.at("Docs").at("rewritten"), 2);
  EXPECT_FALSE(tables.contains("Pref"));  // kept: nobody was asked
  EXPECT_EQ(replace.at("preferences_left"), 1);
  EXPECT_EQ(replace.at("warnings"), json::array({Format(LoadStr(sPrefsLeftNotice), {int64_t{1}})}));

  const json list = Parse(Json({"--list-runs"}));
  ASSERT_EQ(list.at("runs").size(), 1u) << list;
  const json& run = list.at("runs").at(0);
  EXPECT_EQ(run.at("run_id"), replace.at("run_id"));
  EXPECT_EQ(run.at("docs"), tables.at("Docs").at("rewritten"));
  EXPECT_EQ(run.at("cards"), tables.at("Cards").at("rewritten"));
  EXPECT_EQ(run.at("old_folder"), "C:\\Docs");
  EXPECT_EQ(run.at("target"), nullptr);
  EXPECT_EQ(run.at("incomplete"), false);

  const json show = Parse(Json({"--show-run", "r1"}));
  EXPECT_EQ(show.at("run"), run);
  EXPECT_EQ(show.at("folders"),
            (json{{{"old", "C:\\Docs"}, {"new", "E:\\New"}, {"docs", 2}, {"cards", 2}}}));
  EXPECT_EQ(show.at("state"), "complete");

  // A record changed since is left alone by the undo, and the exit code says so.
  Exec("UPDATE Docs SET DOCUMENT_NAME = 'F:\\edited.doc' WHERE RECID = '1'");
  const TConsoleRun undoRun = Json({"--undo", "R1", "--yes"});
  EXPECT_EQ(undoRun.Code, ecRefused) << undoRun.Err;
  const json undo = Parse(undoRun);
  EXPECT_EQ(undo.at("outcome"), "completed");
  EXPECT_EQ(undo.at("run_id"), "R2");
  EXPECT_EQ(undo.at("tables").at("Docs").at("rewritten"), 1);
  EXPECT_EQ(undo.at("left_alone"), (json{{"changed_since", 1},
                                         {"deleted_since", 0},
                                         {"samples", {"Docs RECID 1: F:\\edited.doc"}}}));
  EXPECT_EQ(install_.CardFolders(), cards);
  const json runs = Parse(Json({"--list-runs"})).at("runs");
  EXPECT_EQ(runs.at(0).at("undone_by"), "R2");
  EXPECT_EQ(runs.at(1).at("target"), "R1");
  EXPECT_EQ(runs.at(1).at("kind"), "undo");
}

TEST_F(ConsoleJsonTest, SeveralFoldersCountPerRowAndTheSurveyPerFolder) {
  const std::vector<std::string> several = {"--old", "C:\\Docs", "--old",
                                            "D:\\B", "--new",    "E:\\New"};
  std::vector<std::string> dryArgs = several;
  dryArgs.push_back("--dry-run");
  const json rows = Parse(Json(dryArgs)).at("preflight").at("rows");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows.at(1).at("old"), "D:\\B");
  EXPECT_EQ(rows.at(1).at("Cards").at("will_change").at("count"), 1);
  EXPECT_EQ(rows.at(0).at("Docs").at("will_change").at("count"), 2);

  std::vector<std::string> runArgs = several;
  runArgs.push_back("--yes");
  const json run = Parse(Json(runArgs));
  EXPECT_EQ(run.at("folders"),
            (json{{{"old", "C:\\Docs"}, {"new", "E:\\New"}, {"docs", 2}, {"cards", 2}},
                  {{"old", "D:\\B"}, {"new", "E:\\New"}, {"docs", 0}, {"cards", 1}}}));
  EXPECT_EQ(run.at("tables").at("Cards").at("rewritten"), 3);

  const json survey = Parse(Json({"--survey", "--depth", "1"}));
  EXPECT_EQ(survey.at("depth"), 1);
  const json& docs = survey.at("tables").at("Docs");
  EXPECT_EQ(docs.at("examined"), 4);
  EXPECT_EQ(docs.at("folders"),
            (json{{{"folder", "E:\\"}, {"count", 2}}, {{"folder", "D:\\"}, {"count", 1}}}));
  EXPECT_EQ(docs.at("kinds"), (json{{"empty", 1}, {"url", 0}, {"relative", 0}, {"no_path", 0}}));
  EXPECT_EQ(survey.at("tables").at("Cards").at("folders"),
            (json{{{"folder", "E:\\"}, {"count", 3}}}));
}

TEST_F(ConsoleJsonTest, ARefusedRunPrintsTheObjectAloneAndItsQuestionsOnTheErrorStream) {
  const std::vector<std::string> docs = install_.DocumentNames();
  // No terminal and no --yes: --json does not confirm.
  const TConsoleRun refused = Json({"--old", "C:\\Docs", "--new", "E:\\New"});
  EXPECT_EQ(refused.Code, ecRefused);
  EXPECT_EQ(refused.Out, nlohmann::ordered_json::parse(refused.Out).dump() + "\n");
  EXPECT_EQ(Parse(refused).at("outcome"), "not-confirmed");
  EXPECT_NE(refused.Err.find("Run with --yes to confirm."), std::string::npos) << refused.Err;

  // On a terminal the question and its answer stay off the output too.
  const TConsoleRun no = Json({"--old", "C:\\Docs", "--new", "E:\\New"}, "n\n", {true, false});
  EXPECT_EQ(Parse(no).at("outcome"), "not-confirmed");
  EXPECT_NE(no.Err.find("[y/N]"), std::string::npos) << no.Err;
  EXPECT_EQ(install_.DocumentNames(), docs);

  // A usage error: the object alone on the output, the usage text on the error stream.
  const TConsoleRun usage = Json({"--undo", "R1", "--new", "E:\\New"});
  EXPECT_EQ(usage.Code, ecUsage);
  EXPECT_EQ(usage.Out, nlohmann::ordered_json::parse(usage.Out).dump() + "\n");
  EXPECT_EQ(Parse(usage).at("error"), "--new: not with a journal command");
  EXPECT_NE(usage.Err.find("--new: not with a journal command"), std::string::npos);

  // A folder that is no installation: the object with the refusal, exit 2.
  const TConsoleRun none = Json({"--installation", install_.Path("Logs"), "--list-runs"});
  EXPECT_EQ(none.Code, 2);
  EXPECT_EQ(Parse(none).at("exit_code"), 2);
  EXPECT_EQ(Parse(none).at("command"), "list-runs");
  EXPECT_NE(Parse(none).at("error").get<std::string>().find(" lacks DB"), std::string::npos);
}

}  // namespace
