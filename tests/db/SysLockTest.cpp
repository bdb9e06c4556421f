#include "db/SysLock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/support/CrmTestInstall.h"
#include "tests/support/EngineTestDatabase.h"

namespace {

// Opens the lock table exclusively on a connection of its own, as a maintenance program would.
bool ExclusiveOpenSucceeds(const TCrmTestInstall& install) {
  auto db = install.Open();
  TAceTableOptions exclusive;
  exclusive.Exclusive = true;
  try {
    db->OpenTable("SysLock.adt", exclusive);
    return true;
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrTableInUse);
    return false;
  }
}

// Stands in for a reachable remote server: serves the same database whatever the server type.
class TRemoteServer : public TAceDriver {
 public:
  std::unique_ptr<TAceConnection> Connect(const std::string& path, TAdsServerType) override {
    return CreateSqliteAceDriver()->Connect(path, TAdsServerType::stADS_LOCAL);
  }
  TAceVersion Version() override { return {11, 10, ' '}; }
};

class SysLock : public ::testing::Test {
 protected:
  void TearDown() override { ResetProgramUnits(); }
  TCrmTestInstall install;
};

}  // namespace

TEST_F(SysLock, LocalServerKeepsTheTableOpenUntilReleased) {
  EXPECT_TRUE(ExclusiveOpenSucceeds(install));
  EXPECT_TRUE(CheckSysLock(false));
  EXPECT_TRUE(SysLockIsOpen());
  EXPECT_FALSE(ExclusiveOpenSucceeds(install));  // a maintenance program sees a working station
  EXPECT_TRUE(CheckSysLock(false));              // a second check changes nothing
  ReleaseSysLock();
  EXPECT_FALSE(SysLockIsOpen());
  EXPECT_TRUE(ExclusiveOpenSucceeds(install));
}

TEST_F(SysLock, RemoteServerModeNeverOpensTheTableUnlessForced) {
  std::ofstream(install.Path("DBSys/VarnelServer.sr1")) << "";
  LoadSystemFolderDefaults();
  Platform().SetEngine(std::make_unique<TRemoteServer>());
  EXPECT_TRUE(CheckSysLock(false));
  EXPECT_FALSE(SysLockIsOpen());
  EXPECT_TRUE(ExclusiveOpenSucceeds(install));
  EXPECT_TRUE(CheckSysLock(true));
  EXPECT_TRUE(SysLockIsOpen());
}

TEST(SysLockRemote, TheRemoteServerNeverHasItsLockTableOpenedAtStart) {
  TEngineTestDatabase db(TTestEngine::Remote);
  std::ofstream(db.ConnectPath() + "/../DBSys/VarnelServer.sr1") << "";
  LoadSystemFolderDefaults();
  EXPECT_TRUE(CheckSysLock(false));
  EXPECT_FALSE(SysLockIsOpen());
  EXPECT_EQ(DBConnectionDM()->DBConnection.ConnectionType(), "Remote");
  EXPECT_TRUE(CheckSysLock(true));  // forced, the remote engine opens it like any table
  EXPECT_TRUE(SysLockIsOpen());
  ResetProgramUnits();
}

TEST_F(SysLock, UnreachableDatabaseGivesFalseAfterTwoAttempts) {
  std::filesystem::remove_all(install.DbFolder());
  EXPECT_FALSE(CheckSysLock(false));
  EXPECT_FALSE(SysLockIsOpen());
  const std::string log = install.LogText();
  size_t attempts = 0;
  for (size_t at = log.find("Proc_Name=DatGenDBConnectionDM.SetConnectionParams-Gen");
       at != std::string::npos;
       at = log.find("Proc_Name=DatGenDBConnectionDM.SetConnectionParams-Gen", at + 1))
    ++attempts;
  EXPECT_EQ(attempts, 1u);  // the creation's attempt
  EXPECT_NE(log.find("Proc_Name=.OpenMainConnection"), std::string::npos);  // and the retry
  EXPECT_EQ(install.Ui->Messages.size(), 1u);  // only the connection's own message
}

TEST_F(SysLock, TheLockGoesWithTheProcessEvenWhenItDies) {
  const pid_t child = fork();
  if (child == 0) {
    // The child holds the table open and dies without closing anything.
    auto db = install.Open();
    auto table = db->OpenTable("SysLock.adt", {});
    std::ofstream(install.Path("held")) << "1";
    pause();
    _exit(0);
  }
  ASSERT_GT(child, 0);
  while (!std::filesystem::exists(install.Path("held"))) usleep(1000);
  EXPECT_FALSE(ExclusiveOpenSucceeds(install));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_TRUE(ExclusiveOpenSucceeds(install));
}
