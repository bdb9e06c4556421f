// The start-up guard as a user meets it: the console program refuses to run from the LastVer
// folder and during a maintenance stop, before it touches the database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "common/StrTable.h"
#include "startup/GuardMessages.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/DemoInstallation.h"
#include "tests/support/RunProgram.h"

namespace fs = std::filesystem;

namespace {

// Every file of the database and log folders with its contents.
std::map<std::string, std::string> Snapshot(const TDemoInstallation& demo) {
  std::map<std::string, std::string> files;
  for (const fs::path& folder : {demo.DatabaseFolder(), demo.Root() / "Logs"})
    for (const auto& entry : fs::directory_iterator(folder))
      files[entry.path().string()] = TCrmTestInstall::ReadBytes(entry.path().string());
  return files;
}

const std::vector<std::string> ReplaceArgs{"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"};

}  // namespace

TEST(StartUpGuardEndToEnd, ACopyInTheLastVerFolderRefusesToRun) {
  TDemoInstallation demo({"--documents", "20", "--cards", "5"});
  const fs::path copy = demo.Root() / "LastVer" / "VrlChangeDocsPathCli";
  fs::copy_file(demo.Utils() / "VrlChangeDocsPathCli", copy);
  const auto before = Snapshot(demo);
  const TProgramRun run = RunProgram(copy.string(), ReplaceArgs);
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, std::string(LoadStr(sGuardLastVerRefusal)) + "\n");
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(Snapshot(demo), before);
}

TEST(StartUpGuardEndToEnd, AMaintenanceStopRefusesUnlessTheStationIsExempt) {
  TDemoInstallation demo({"--documents", "20", "--cards", "5"});
  std::ofstream(demo.Root() / "DBSys" / "VarnelStop.INI") << "[Stop]\n";
  const auto before = Snapshot(demo);
  const std::string program = (demo.Utils() / "VrlChangeDocsPathCli").string();
  const TProgramRun refused = RunProgram(program, ReplaceArgs);
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_EQ(refused.Err, std::string(LoadStr(sGuardMaintenanceStop)) + "\n");
  EXPECT_EQ(refused.Out, "");
  EXPECT_EQ(Snapshot(demo), before);

  std::ofstream(demo.Utils() / "VarnelR.Ini") << "";
  const TProgramRun exempt = RunProgram(program, ReplaceArgs);
  EXPECT_EQ(exempt.ExitCode, 0) << exempt.Err;
  EXPECT_NE(Snapshot(demo), before);
}
