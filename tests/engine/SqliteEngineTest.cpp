// What only the local server does: connecting to a folder, refusing a post at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
