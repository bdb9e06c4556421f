// What only the local server does: connecting to a folder, refusing a post at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/engine/AdsComponents.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/EngineTestDatabase.h"

namespace {

EADSDatabaseError ConnectError(const std::string& folder, TAdsServerType type) {
  try {
    CreateSqliteAceDriver()->Connect(folder, type);
  } catch (const EADSDatabaseError& e) {
    return e;
  }
  ADD_FAILURE() << "connecting to " << folder << " did not fail";
  return EADSDatabaseError("");
}

int64_t Count(TAceConnection& db, const std::string& sql) {
  auto rows = db.OpenQuery(sql, {});
  return std::stoll(rows->FieldText(0));
}

}  // namespace

TEST(SqliteEngine, ConnectNamesWhatIsMissingAndNeverCreatesADatabase) {
  TTempDir temp;
  std::string missing = (temp.Path() / "nowhere").string();
  auto noFolder = ConnectError(missing, TAdsServerType::stADS_LOCAL);
  EXPECT_EQ(noFolder.ACEErrorCode, AdsErrNoDatabaseFolder);
  EXPECT_NE(noFolder.Message().find(missing), std::string::npos);

  auto noFile = ConnectError(temp.Path().string(), TAdsServerType::stADS_LOCAL);
  EXPECT_EQ(noFile.ACEErrorCode, AdsErrNoDatabaseFile);
  EXPECT_NE(noFile.Message().find("Varnel.sqlite"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));

  std::ofstream(temp.Path() / "Varnel.sqlite") << "this is a text file, not a database....."
                                                  "..............................................";
  auto garbage = ConnectError(temp.Path().string(), TAdsServerType::stADS_LOCAL);
  EXPECT_EQ(garbage.ACEErrorCode, AdsErrUnreadableDatabase);
  EXPECT_NE(garbage.Message().find("Varnel.sqlite"), std::string::npos);

  auto remote = ConnectError(temp.Path().string(), TAdsServerType::stADS_REMOTE);
  EXPECT_EQ(remote.ACEErrorCode, AdsErrNoRemoteServer);
  EXPECT_NE(remote.Message().find("remote"), std::string::npos);
}

TEST(SqliteEngine, PostsBeforeAFailureAreCommittedBeforeTheErrorIsRaised) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddTestDocs(*db, 10);
  db->ExecSQL(
      "CREATE TRIGGER Refuse BEFORE UPDATE ON Docs WHEN OLD.DOCUMENT_NAME = 'C:\\DOCS\\6' "
      "BEGIN SELECT RAISE(ABORT, 'record 6 is locked'); END",
      {});
  auto table = db->OpenTable("Docs", {});
  int posted = 0;
  try {
    for (; !table->Eof(); table->Next()) {
      table->Post({{21, "X"}});
      ++posted;
    }
    FAIL() << "the trigger did not refuse";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrWriteRefused);
    EXPECT_NE(e.Message().find("record 6 is locked"), std::string::npos);
  }
  EXPECT_EQ(posted, 5);
  // Another station sees the five posts while the table is still open.
  auto other = install.Open();
  EXPECT_EQ(Count(*other, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = 'X'"), 5);
}

TEST(SqliteEngine, TableLockFilesAreSharedWithTheGroupAndALinkAtTheirNameIsNeverFollowed) {
  namespace fs = std::filesystem;
  TCrmTestInstall install;
  const std::string lockFile = install.DbFile() + ".SYSLOCK.lock";
  const auto mode = [](const std::string& file) {
    return fs::symlink_status(file).permissions() & fs::perms::all;
  };
  const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::group_write | fs::perms::others_read;
  auto db = install.Open();
  {
    // Created group-writable whatever the umask, so the group's next user can take a slot.
    const mode_t saved = umask(0077);
    auto table = db->OpenTable("SysLock.adt", {});
    umask(saved);
    EXPECT_EQ(mode(lockFile), shared);
  }
  // A lock file an earlier version left without the group's write bit gets it from its owner.
  fs::permissions(lockFile, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  db->OpenTable("SysLock.adt", {});
  EXPECT_EQ(mode(lockFile), shared);

  // A link planted at the name (to a file or to nothing), or a folder, is an error, and
  // nothing is followed: neither opening the table nor counting its holders touches the target.
  const std::string target = install.Path("elsewhere.txt"), missing = install.Path("never.txt");
  std::ofstream(target, std::ios::binary) << "keep";
  const fs::perms targetMode = mode(target);
  const std::function<void()> plants[] = {
      [&] { fs::create_symlink(target, lockFile); },
      [&] { fs::create_symlink(missing, lockFile); },
      [&] { fs::create_directory(lockFile); },
  };
  for (const auto& plant : plants) {
    fs::remove_all(lockFile);
    plant();
    try {
      db->OpenTable("SysLock.adt", {});
      ADD_FAILURE() << "the table opened through " << lockFile;
    } catch (const EADSDatabaseError& e) {
      EXPECT_NE(e.Message().find(lockFile + " is a link or not a regular file"), std::string::npos)
          << e.Message();
    }
    EXPECT_THROW(db->OtherStations("SysLock.adt"), EADSDatabaseError);
    EXPECT_TRUE(fs::exists(fs::symlink_status(lockFile)));
    EXPECT_EQ(TCrmTestInstall::ReadBytes(target), "keep");
    EXPECT_EQ(mode(target), targetMode);
    EXPECT_FALSE(fs::exists(missing));
  }
}
