// The start-up guard: the LastVer refusal, the maintenance stop for every kind of program, the
// server run mutex and running once.
#include "startup/StartUpGuard.h"

#include <gtest/gtest.h>

#include "common/DateUtils.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "startup/GuardMessages.h"
#include "startup/MaintenanceStop.h"
#include "startup/ProgramHalt.h"
#include "tests/startup/GuardTestInstall.h"

namespace {

// Runs the guard; true when it ended the process.
bool Halts() {
  try {
    RunStartUpGuard();
  } catch (const EProgramHalt& halt) {
    EXPECT_EQ(halt.ExitCode(), 0);
    return true;
  }
  return false;
}

// The upgrade check ran when it found the newer "Ansi.chr" and missed the upgrade program.
bool UpgradeCheckRan(const TGuardTestInstall& install) {
  for (const std::string& error : install.Ui->Errors)
    if (error.rfind(LoadStr(sFileNotFound) + "\r\n", 0) == 0) return true;
  return false;
}

}  // namespace

TEST(StartUpGuard, RefusesACopyStartedFromTheLastVerFolderHoweverTheFolderIsWritten) {
  TGuardTestInstall install("LastVer/VrlChangeDocsPath");
  const std::string root = install.Path("");
  // The database folder as the settings file beside the program gives it: absent, with a
  // trailing separator, with blanks, in other letter case.
  for (const std::string& databasePath :
       {std::string(), root + "DB/", "\"  " + root + "DB\"", UpperCase(root) + "DB"}) {
    SCOPED_TRACE(databasePath);
    if (!databasePath.empty())
      install.Write("LastVer/VarnelCRM.ini", "[DATABASE]\nPath=" + databasePath + "\n");
    install.SetProgram("LastVer/VrlChangeDocsPath");
    install.Ui->Messages.clear();
    EXPECT_THROW(CheckNotRunFromLastVer(), EProgramHalt);
    EXPECT_EQ(install.Ui->Messages, std::vector<std::string>{LoadStr(sGuardLastVerRefusal)});
  }
  // The same copy anywhere else goes on, and so does a folder merely named like it.
  for (const char* program : {"Utils/VrlChangeDocsPath", "LastVer/Old/VrlChangeDocsPath"}) {
    install.SetProgram(program);
    install.Ui->Messages.clear();
    EXPECT_NO_THROW(CheckNotRunFromLastVer()) << program;
    EXPECT_TRUE(install.Ui->Messages.empty()) << program;
  }
}

TEST(StartUpGuard, TheLastVerRefusalEndsServerProgramsToo) {
  TGuardTestInstall install("LastVer/VarnelServer");
  EXPECT_TRUE(Halts());
  EXPECT_EQ(install.Ui->Messages, std::vector<std::string>{LoadStr(sGuardLastVerRefusal)});
}

TEST(StartUpGuard, TheMaintenanceStopNeedsTheStopMarkerAndNoExemption) {
  TGuardTestInstall install;
  EXPECT_FALSE(IsMaintenanceStopActive());
  install.Write("Utils/VarnelR.Ini");
  EXPECT_FALSE(IsMaintenanceStopActive());  // an exemption alone changes nothing
  install.Write("DBSys/VarnelStop.INI");
  EXPECT_FALSE(IsMaintenanceStopActive());
  std::filesystem::remove(install.Path("Utils/VarnelR.Ini"));
  EXPECT_TRUE(IsMaintenanceStopActive());
  std::filesystem::remove_all(install.Path("DBSys"));
  EXPECT_FALSE(IsMaintenanceStopActive());  // a missing DBSys folder: no stop
}

namespace {

struct TStopCase {
  const char* Program;  // relative to the root
  const char* Module;   // empty: the program itself
  const char* Param;
  std::deque<bool> Answers;
  bool Asked;        // the confirmation was shown
  bool Told;         // the maintenance message was shown
  bool Ends;         // the guard ended the process
  bool RunsUpgrade;  // the upgrade check ran
};

const TStopCase StopCases[] = {
    {"Utils/VrlChangeDocsPath", "", "", {}, false, true, true, false},
    {"Utils/VarnelCRM", "", "", {}, false, true, true, false},
    {"Utils/VarnelUtils", "", "", {true}, true, false, false, false},  // kind 0: nothing to check
    {"Utils/VarnelUtils", "", "", {false}, true, false, true, false},
    {"Server/ServerConfig", "", "", {true}, true, false, false, true},
    {"Server/ServerConfig", "", "", {false}, true, false, false, false},
    {"Utils/VarnelBackup", "", "", {true}, true, false, false, true},
    {"Utils/VarnelBackup", "", "", {false}, true, false, false, false},
    {"Utils/VarnelBackup", "", "nightly", {}, false, false, false, false},
    {"Utils/VarnelCRMSyncOutlookForAll", "", "", {}, false, false, false, false},
    {"Utils/VarnelAutoCodeByXml", "", "", {}, false, false, true, false},
    {"Server/VarnelServer", "", "", {}, false, false, false, false},
    {"Utils/HostProgram", "Utils/VrlDbEng.so", "", {}, false, false, false, false},
};

}  // namespace

TEST(StartUpGuard, DuringAMaintenanceStopEachKindOfProgramGetsItsOutcome) {
  for (const TStopCase& c : StopCases) {
    SCOPED_TRACE(std::string(c.Program) + " " + c.Module + " [" + c.Param + "]");
    TGuardTestInstall install;
    install.SetProgram(c.Program, c.Module);
    if (*c.Param) install.System->Params = {c.Param};
    install.Ui->ConfirmAnswers = c.Answers;
    install.Write("DBSys/VarnelStop.INI");
    install.Write("LastVer/Ansi.chr", "newer engine character table");

    EXPECT_EQ(Halts(), c.Ends);
    EXPECT_EQ(install.Ui->Confirmations,
              c.Asked ? std::vector<std::string>{LoadStr(sGuardMaintenanceConfirm)}
                      : std::vector<std::string>{});
    EXPECT_EQ(install.Ui->Messages, c.Told
                                        ? std::vector<std::string>{LoadStr(sGuardMaintenanceStop)}
                                        : std::vector<std::string>{});
    EXPECT_EQ(UpgradeCheckRan(install), c.RunsUpgrade);
  }
}

TEST(StartUpGuard, AnExemptStationRunsTheUpgradeCheckDespiteTheStop) {
  TGuardTestInstall install("Utils/VarnelCRM");
  install.Write("DBSys/VarnelStop.INI");
  install.Write("Utils/VarnelR.Ini");
  install.Write("LastVer/Ansi.chr", "newer");
  EXPECT_FALSE(Halts());
  EXPECT_TRUE(install.Ui->Messages.empty());
  EXPECT_TRUE(UpgradeCheckRan(install));
}

TEST(StartUpGuard, TheServerRunMutexIsNamedForTheProgramItsServiceAndTheStartTime) {
  TGuardTestInstall install("Server/VarnelServer");
  const TDateTime start = EncodeDateTime(2026, 12, 8, 1, 15, 2, 0);
  EXPECT_EQ(ServerRunMutexName(start), "VarnelServer081226011502");
  install.Write("Server/VarnelServer.ini", "[Pref]\nUniqueServiceName=East\n");
  EXPECT_EQ(ReadUniqueServiceName(), "East");
  EXPECT_EQ(ServerRunMutexName(start), "VarnelServerEast081226011502");
  install.Write("Server/VarnelServer.ini", "[Pref]\nOther=1\n");
  EXPECT_EQ(ReadUniqueServiceName(), "");
}

TEST(StartUpGuard, AServerHoldsItsRunMutexUntilTheGuardIsReleased) {
  TGuardTestInstall install("Server/VarnelServer");
  install.System->Clock = EncodeDateTime(2026, 12, 8, 1, 15, 2, 0);
  install.System->MutexFree = false;  // already held elsewhere: start-up goes on all the same
  EXPECT_FALSE(Halts());
  const std::vector<std::string> name{"VarnelServer081226011502"};
  EXPECT_EQ(install.System->MutexesAcquired, name);
  EXPECT_EQ(HeldServerRunMutexName(), name[0]);
  ReleaseStartUpGuard();
  EXPECT_EQ(install.System->MutexesReleased, name);
  EXPECT_EQ(HeldServerRunMutexName(), "");

  install.SetProgram("Utils/VrlChangeDocsPath");  // a client creates none
  EXPECT_FALSE(Halts());
  EXPECT_EQ(install.System->MutexesAcquired.size(), 1u);
}

TEST(StartUpGuard, RunsOncePerStart) {
  TGuardTestInstall install;
  install.Write("DBSys/VarnelStop.INI");
  EXPECT_TRUE(Halts());
  EXPECT_FALSE(Halts());  // a second initialisation does nothing
  EXPECT_EQ(install.Ui->Messages.size(), 1u);
  ReleaseStartUpGuard();
  EXPECT_TRUE(Halts());  // released, it runs again
  EXPECT_EQ(install.Ui->Messages.size(), 2u);
}
