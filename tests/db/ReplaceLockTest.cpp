// The one-replace lock on the remote server: it lives on the server, so every station of the
// same database is kept apart whatever its database folder, and other databases are not.
#include "db/ReplaceLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/engine/postgres/PgAceDriver.h"
#include "tests/support/EngineTestDatabase.h"

namespace {

class ReplaceLockRemote : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(db_.ConnectPath() + "/../DBSys/VarnelServer.sr1") << "";
    LoadSystemFolderDefaults();
    ASSERT_TRUE(MainConnectionIsOpen());
  }
  void TearDown() override { ResetProgramUnits(); }
  TEngineTestDatabase db_{TTestEngine::Remote};
};

}  // namespace

TEST_F(ReplaceLockRemote, OneReplacePerDatabaseFromAnyStationWhateverItsFolder) {
  TReplaceLock mine;
  ASSERT_EQ(mine.AcquireForInstallation(), TReplaceLock::TResult::Held) << mine.Reason();
  EXPECT_TRUE(mine.OnServer());
  const std::string database = PgTestRows(db_.Conninfo(), "SELECT current_database()")[0][0];
  EXPECT_NE(mine.Path().find(database), std::string::npos) << mine.Path();

  // Another station of the same database, whose database folder is not this one's: refused,
  // like a second replace of this very program.
  auto station = ConnectPg(db_.Conninfo());
  TReplaceLock theirs;
  EXPECT_EQ(theirs.AcquireOnServer(*station), TReplaceLock::TResult::Busy);
  TReplaceLock again;
  EXPECT_EQ(again.AcquireForInstallation(), TReplaceLock::TResult::Busy);
  // The database folder plays no part: its lock file is not what is held.
  EXPECT_FALSE(std::filesystem::exists(db_.ConnectPath() + "/" + ReplaceLockFileName));

  // Another database on the same server is not this one.
  TPgTestDatabase otherDatabase;
  auto elsewhere = ConnectPg(otherDatabase.Conninfo());
  TReplaceLock unrelated;
  EXPECT_EQ(unrelated.AcquireOnServer(*elsewhere), TReplaceLock::TResult::Held);

  // Once released, the other station gets it; a station whose session ends in any way frees
  // it (here the server ends the session and waits until it is gone), and its lock object,
  // outliving the connection, then releases nothing.
  mine.Release();
  ASSERT_EQ(theirs.AcquireOnServer(*station), TReplaceLock::TResult::Held);
  EXPECT_EQ(mine.AcquireForInstallation(), TReplaceLock::TResult::Busy);
  const std::string session = QueryOne(*station, "SELECT pg_backend_pid()");
  ASSERT_EQ(PgTestRows(db_.Conninfo(), "SELECT pg_terminate_backend(" + session + ", 60000)"),
            std::vector<std::vector<std::string>>{{"t"}});
  EXPECT_EQ(mine.AcquireForInstallation(), TReplaceLock::TResult::Held);
  station.reset();
  theirs.Release();
  EXPECT_EQ(again.AcquireOnServer(*ConnectPg(db_.Conninfo())), TReplaceLock::TResult::Busy);
}

TEST_F(ReplaceLockRemote, WithoutTheConnectionToTheServerNothingIsClaimed) {
  FreeDBConnectionDM();
  TReplaceLock lock;
  EXPECT_EQ(lock.AcquireForInstallation(), TReplaceLock::TResult::Failed);
  EXPECT_TRUE(lock.OnServer());
  EXPECT_FALSE(lock.Reason().empty());
}
