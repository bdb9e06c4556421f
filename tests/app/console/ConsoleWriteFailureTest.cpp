// The console program when its writes fail: under a file-size limit that stops them, it never
// says "Operation completed", every count it prints is what the database holds, the database
// stays sound, and a run without the limit finishes the job.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/DemoInstallation.h"
#include "tests/support/RunProgram.h"

namespace {

const std::string kOld = "C:\\VarnelDocs";
const std::string kNew = "E:\\A much longer shared documents folder name\\Docs";

// The console program on the demo installation, its file size limited to limitKiB (0: none).
// SIGXFSZ is ignored so a write past the limit fails with an error instead of killing it.
TProgramRun RunLimited(const TDemoInstallation& demo, int limitKiB,
                       const std::vector<std::string>& extra = {}) {
  const std::string cli = (demo.Utils() / "VrlChangeDocsPathCli").string();
  const std::string limit = limitKiB ? "ulimit -f " + std::to_string(limitKiB) + "; " : "";
  std::vector<std::string> args = {
      "-c",   "trap '' XFSZ; " + limit + "exec \"$0\" \"$@\"", cli, "--old", kOld, "--new", kNew,
      "--yes"};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunProgram("/bin/bash", args);
}

std::string Query(const TDemoInstallation& demo, const std::string& sql) {
  auto db =
      CreateSqliteAceDriver()->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  return db->OpenQuery(sql, {})->FieldText(0);
}

int64_t Rewritten(const TDemoInstallation& demo, const std::string& table,
                  const std::string& column) {
  return std::stoll(Query(
      demo, "SELECT count(*) FROM " + table + " WHERE " + column + " LIKE 'E:\\A much longer%'"));
}

// The rewritten count the run printed for a table; -1 when it printed none.
int64_t Printed(const TProgramRun& run, const std::string& table) {
  std::smatch match;
  if (!std::regex_search(run.Out, match, std::regex(table + ": \\d+ examined, (\\d+) rewritten")))
    return -1;
  return std::stoll(match[1]);
}

struct TLimitCase {
  const char* what;
  std::vector<std::string> demo;
  int limitKiB;
  bool cardCountsPrinted;  // the failure is the card pass's own: it prints its counts
};

void PrintTo(const TLimitCase& limitCase, std::ostream* out) {
  *out << limitCase.what;
}

class ConsoleWriteFailure : public ::testing::TestWithParam<TLimitCase> {};

TEST_P(ConsoleWriteFailure, NoFalseSuccessCountsMatchTheDatabaseAndARerunFinishes) {
  TDemoInstallation demo(GetParam().demo);
  const TProgramRun limited = RunLimited(demo, GetParam().limitKiB);
  EXPECT_EQ(limited.ExitCode, 2) << limited.Out << limited.Err;
  EXPECT_EQ(limited.Out.find("Operation completed"), std::string::npos) << limited.Out;
  EXPECT_NE(limited.Err.find("rolled back"), std::string::npos) << limited.Err;
  EXPECT_EQ(Printed(limited, "Cards") >= 0, GetParam().cardCountsPrinted) << limited.Out;
  for (const auto& [table, column] :
       {std::pair<std::string, std::string>{"Documents", "Docs"}, {"Cards", "Cards"}}) {
    const int64_t printed = Printed(limited, table);
    if (printed >= 0) {
      EXPECT_EQ(printed, Rewritten(demo, column, table == "Cards" ? "DOCSFOLDER" : "DOCUMENT_NAME"))
          << table;
    }
  }
  EXPECT_EQ(Query(demo, "PRAGMA integrity_check"), "ok");

  const TProgramRun rerun = RunLimited(demo, 0);
  EXPECT_EQ(rerun.ExitCode, 0) << rerun.Err;
  EXPECT_NE(rerun.Out.find("Operation completed"), std::string::npos);
  EXPECT_EQ(Query(demo, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME LIKE 'C:\\VarnelDocs\\%'"),
            "0");
  EXPECT_EQ(Query(demo,
                  "SELECT count(*) FROM Cards WHERE DOCSFOLDER LIKE 'C:\\VarnelDocs\\%' OR "
                  "DOCSFOLDER = 'C:\\VarnelDocs'"),
            "0");
}

// With --json, a failure of the document pass (which ends the command by propagating) still tells
// the run to resume and what the passes wrote, beside the error.
TEST(ConsoleWriteFailureJson, TheDocumentPassFailureTellsItsRunAndCounts) {
  TDemoInstallation demo({"--documents", "2000", "--cards", "200"});
  const TProgramRun run = RunLimited(demo, 150, {"--json"});
  EXPECT_EQ(run.ExitCode, 2) << run.Err;
  const nlohmann::json object = nlohmann::json::parse(run.Out);
  EXPECT_EQ(object.at("exit_code"), 2);
  EXPECT_EQ(object.at("outcome"), "not-completed");
  EXPECT_EQ(object.at("run_id"), "R1");
  EXPECT_EQ(object.at("tables").at("Docs").at("rewritten"),
            Rewritten(demo, "Docs", "DOCUMENT_NAME"));
  EXPECT_NE(object.at("error").get<std::string>().find("rolled back"), std::string::npos)
      << run.Out;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ConsoleWriteFailure,
    ::testing::Values(
        // The documents' only group fails at the table's closing commit.
        TLimitCase{"FinalCommit", {"--documents", "2000", "--cards", "200"}, 150, false},
        // A group of cards fails in the middle of the card pass.
        TLimitCase{"MidPassCommit", {"--documents", "200", "--cards", "12000"}, 300, true}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
