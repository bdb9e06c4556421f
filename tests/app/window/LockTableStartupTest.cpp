// A lock table that cannot be opened at start-up: both programs log it, tell it and end in order
// (the console program with exit code 2), never with an abort.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/window/ChangePathForDocs_Unit.h"
#include "db/SysLock.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/DemoInstallation.h"
#include "tests/support/QtTestApplication.h"
#include "tests/support/RunProgram.h"

namespace {

// Holds an exclusive flock on a file while it lives, as another process would.
class TFileLockHolder {
 public:
  explicit TFileLockHolder(const std::string& file)
      : fd_(open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {}
  ~TFileLockHolder() {
    if (fd_ >= 0) close(fd_);
  }
  bool Lock() const { return fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0; }

 private:
  int fd_;
};

void DropSysLockTable(const std::filesystem::path& dbFolder) {
  auto db = CreateSqliteAceDriver()->Connect(dbFolder.string(), TAdsServerType::stADS_LOCAL);
  db->ExecSQL("DROP TABLE SysLock", {});
}

struct TBlockedLock {
  const char* Name;
  bool DropTable;  // else another process holds the table's lock file
  bool PlantLink;  // a link to another file stands at the lock file's name
  const char* Told;
};

// Blocks the lock table of the database in dbFolder as the case says.
void Block(const TBlockedLock& how, const std::filesystem::path& dbFolder,
           const TFileLockHolder& holder) {
  const std::filesystem::path lockFile = dbFolder / "Varnel.sqlite.SYSLOCK.lock";
  if (how.DropTable) {
    DropSysLockTable(dbFolder);
  } else if (how.PlantLink) {
    std::ofstream(dbFolder / "elsewhere") << "keep";
    std::filesystem::remove(lockFile);
    std::filesystem::create_symlink(dbFolder / "elsewhere", lockFile);
  } else {
    ASSERT_TRUE(holder.Lock());
  }
}

class LockTableStartupTest : public ::testing::TestWithParam<TBlockedLock> {};

TEST_P(LockTableStartupTest, TheConsoleProgramLogsItTellsItAndEndsWithCode2) {
  TDemoInstallation demo({"--documents", "10", "--cards", "2"});
  TFileLockHolder holder((demo.DatabaseFile().string() + ".SYSLOCK.lock"));
  ASSERT_NO_FATAL_FAILURE(Block(GetParam(), demo.DatabaseFolder(), holder));
  const TProgramRun run = RunProgram((demo.Utils() / "VrlChangeDocsPathCli").string(),
                                     {"--old", "C:\\VarnelDocs", "--new", "E:\\Docs", "--yes"});
  EXPECT_EQ(run.ExitCode, 2) << run.Err;  // not 134: no abort
  // The application's handling, then the failure itself.
  EXPECT_EQ(run.Err.rfind("Message registered in log file:\n", 0), 0u) << run.Err;
  EXPECT_NE(run.Err.find(GetParam().Told), std::string::npos) << run.Err;
  EXPECT_EQ(run.Out.find("Operation completed"), std::string::npos);
  const std::string log = TCrmTestInstall::ReadBytes(
      (demo.Root() / "Logs" / "UserLog_VrlChangeDocsPathCli.TXT").string());
  // Logged by the exception manager as an unhandled exception of the run.
  EXPECT_NE(log.find("Proc_Name=GenUnHndExp"), std::string::npos) << log;
  EXPECT_NE(log.find("EADSDatabaseError"), std::string::npos) << log;
  // Nothing was replaced.
  auto db =
      CreateSqliteAceDriver()->Connect(demo.DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  auto rows = db->OpenQuery("SELECT COUNT(*) FROM Docs WHERE DOCUMENT_NAME LIKE 'E:%'", {});
  EXPECT_EQ(rows->FieldText(0), "0");
  // A planted link was not followed.
  if (GetParam().PlantLink) {
    EXPECT_EQ(TCrmTestInstall::ReadBytes((demo.DatabaseFolder() / "elsewhere").string()), "keep");
  }
}

TEST_P(LockTableStartupTest, TheWindowIsNotShownAndTheFailureIsLoggedAndShown) {
  QtTestApplication();
  TAppTestInstallation install("VrlChangeDocsPath");
  TFileLockHolder holder(install.DbFile() + ".SYSLOCK.lock");
  ASSERT_NO_FATAL_FAILURE(Block(GetParam(), install.DbFolder(), holder));
  TChangePathForDocsFrm window;
  EXPECT_FALSE(window.StartedUp());
  EXPECT_FALSE(SysLockIsOpen());
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  EXPECT_EQ(install.Ui->Messages[0].rfind("Message registered in log file:", 0), 0u);
  EXPECT_EQ(install.Ui->MessageKinds[0], TMessageKind::mkError);
  EXPECT_EQ(install.Ui->Cursor(), TCursorKind::crDefault);
  EXPECT_NE(install.LogText().find("Proc_Name=GenUnHndExp"), std::string::npos)
      << install.LogText();
}

INSTANTIATE_TEST_SUITE_P(Blocked, LockTableStartupTest,
                         ::testing::Values(TBlockedLock{"HeldByAnotherProcess", false, false,
                                                        "in use by another station"},
                                           TBlockedLock{"TableDropped", true, false, "SysLock"},
                                           TBlockedLock{"LinkPlanted", false, true,
                                                        "Varnel.sqlite.SYSLOCK.lock is a link"}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
