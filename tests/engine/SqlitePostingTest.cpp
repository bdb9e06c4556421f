// Posting as another station sees it: what is committed when, what a failure takes with it, and
// a post that would overwrite another station's edit.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/CrmTestInstall.h"
#include "tests/support/EngineTestDatabase.h"

namespace {

constexpr size_t kDocumentName = 21;  // Docs.DOCUMENT_NAME

int64_t CountX(TAceConnection& db) {
  return std::stoll(QueryOne(db, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = 'X'"));
}

// A trigger rolling back the whole transaction when the record is updated.
void UndoAllAt(TAceConnection& db, const std::string& recid) {
  db.ExecSQL("CREATE TRIGGER Undo BEFORE UPDATE ON Docs WHEN OLD.RECID = '" + recid +
                 "' BEGIN SELECT RAISE(ROLLBACK, 'record 4 undoes it all'); END",
             {});
}

// Posts X into every record until one fails; the error's message.
std::string PostUntilFailure(TAceCursor& table) {
  try {
    for (; !table.Eof(); table.Next()) table.Post({{kDocumentName, "X"}});
  } catch (const EADSDatabaseError& e) {
    return e.Message();
  }
  ADD_FAILURE() << "every post succeeded";
  return {};
}

}  // namespace

TEST(SqlitePosting, ARolledBackGroupIsNamedAndNeverCounted) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddTestDocs(*db, 6);
  UndoAllAt(*db, "D4");
  auto table = db->OpenTable("Docs", {});
  const std::string message = PostUntilFailure(*table);
  EXPECT_NE(message.find("record 4 undoes it all"), std::string::npos) << message;
  EXPECT_NE(message.find("3 posted records were rolled back"), std::string::npos) << message;
  EXPECT_EQ(table->CommittedPosts(), 0);
  EXPECT_EQ(CountX(*install.Open()), 0);

  // The walk goes on after the failure: later posts commit and count as usual.
  table->Next();
  table->Post({{kDocumentName, "X"}});
  table->Close();
  EXPECT_EQ(table->CommittedPosts(), 1);
  EXPECT_EQ(CountX(*install.Open()), 1);
}

TEST(SqlitePosting, CloseRaisesAFailedCommitAndADroppedCursorRollsBack) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddTestDocs(*db, 4);
  // A deferred foreign key is checked at COMMIT: the commit itself fails.
  db->ExecSQL("PRAGMA foreign_keys = ON", {});
  db->ExecSQL("CREATE TABLE Owners (ID TEXT PRIMARY KEY)", {});
  db->ExecSQL(
      "ALTER TABLE Docs ADD COLUMN OWNER TEXT REFERENCES Owners (ID) DEFERRABLE INITIALLY "
      "DEFERRED",
      {});
  {
    auto table = db->OpenTable("Docs", {});
    const size_t owner = table->FieldNames().size() - 1;
    table->Post({{kDocumentName, "X"}});
    table->Next();
    table->Post({{kDocumentName, "X"}, {owner, "nobody"}});
    try {
      table->Close();
      FAIL() << "the commit did not fail";
    } catch (const EADSDatabaseError& e) {
      EXPECT_NE(e.Message().find("FOREIGN KEY"), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find("2 posted records were rolled back"), std::string::npos)
          << e.Message();
    }
    EXPECT_EQ(table->CommittedPosts(), 0);
  }
  EXPECT_EQ(CountX(*install.Open()), 0);

  {
    auto table = db->OpenTable("Docs", {});
    table->Post({{kDocumentName, "X"}});
    table->Next();
    table->Post({{kDocumentName, "X"}});
  }  // dropped without Close: nothing of it stays
  EXPECT_EQ(CountX(*install.Open()), 0);
  EXPECT_EQ(QueryOne(*install.Open(), "PRAGMA integrity_check"), "ok");
}

TEST(SqlitePosting, APostNeverOverwritesAnotherStationsEdit) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddTestDocs(*db, 3);
  auto table = db->OpenTable("Docs", {});
  ASSERT_EQ(table->FieldText(kDocumentName), "C:\\DOCS\\1");
  // Another station commits between our read and our post.
  auto other = install.Open();
  other->ExecSQL("UPDATE Docs SET DOCUMENT_NAME = 'Z:\\UserMoved\\doc1.pdf' WHERE RECID = 'D1'",
                 {});
  other->ExecSQL("DELETE FROM Docs WHERE RECID = 'D2'", {});
  try {
    table->Post({{kDocumentName, "E:\\1"}});
    FAIL() << "the stale post was written";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrRecordChanged);
  }
  EXPECT_EQ(QueryOne(*other, "SELECT DOCUMENT_NAME FROM Docs WHERE RECID = 'D1'"),
            "Z:\\UserMoved\\doc1.pdf");
  // Read again, the record takes the post.
  ASSERT_TRUE(table->Refresh());
  EXPECT_EQ(table->FieldText(kDocumentName), "Z:\\UserMoved\\doc1.pdf");
  table->Post({{kDocumentName, "E:\\UserMoved\\doc1.pdf"}});

  table->Next();  // D2, deleted meanwhile
  try {
    table->Post({{kDocumentName, "E:\\2"}});
    FAIL() << "a deleted record took a post";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrRecordGone);
  }
  EXPECT_FALSE(table->Refresh());
  table->Close();
  EXPECT_EQ(table->CommittedPosts(), 1);
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"E:\\UserMoved\\doc1.pdf", "C:\\DOCS\\3"}));
}

TEST(SqlitePosting, StoredTypeAndJournalModeStayAsTheyWere) {
  TCrmTestInstall install;
  {
    auto db = install.Open();
    db->ExecSQL("PRAGMA journal_mode = DELETE", {});
    db->ExecSQL(
        "INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES ('B', CAST('C:\\DOCS\\b' AS BLOB)), "
        "('T', 'C:\\DOCS\\t'), ('N', NULL)",
        {});
  }
  auto db = install.Open();
  EXPECT_EQ(QueryOne(*db, "PRAGMA journal_mode"), "delete");
  auto table = db->OpenTable("Docs", {});
  for (; !table->Eof(); table->Next()) {
    if (!table->FieldIsNull(kDocumentName))
      table->Post({{kDocumentName, "E:" + table->FieldText(kDocumentName).substr(7)}});
  }
  table->Close();
  EXPECT_EQ(install.Column("Docs", "typeof(DOCUMENT_NAME) || ' ' || DOCUMENT_NAME"),
            (std::vector<std::string>{"blob E:\\b", "text E:\\t", "<NULL>"}));
  EXPECT_EQ(QueryOne(*db, "PRAGMA journal_mode"), "delete");
}

TEST(SqlitePosting, AnotherStationsSaveGetsInWhileALongWalkPosts) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddTestDocs(*db, 2000);
  auto table = db->OpenTable("Docs", {});
  table->Post({{kDocumentName, "X"}});  // the walk holds the write lock from here
  std::atomic<bool> saved = false;
  std::string failure;
  std::thread station([&] {
    try {
      install.Open()->ExecSQL("UPDATE Docs SET DOCUMENT_DESC = 'saved' WHERE RECID = 'D2000'", {});
      saved = true;
    } catch (const EADSDatabaseError& e) {
      failure = e.Message();
    }
  });
  // The walk goes round the table until the other station's save is in; without a turn for
  // it the save would wait for the walk's end and give up after its busy time-out.
  int64_t posts = 1;
  while (!saved && failure.empty()) {
    table->Next();
    if (table->Eof()) table->First();
    table->Post({{kDocumentName, "X" + std::to_string(posts++ % 2)}});
  }
  station.join();
  EXPECT_TRUE(saved) << failure;
  table->Close();
  EXPECT_EQ(QueryOne(*install.Open(), "SELECT DOCUMENT_DESC FROM Docs WHERE RECID = 'D2000'"),
            "saved");
}

// What a connection commits reaches the database file beside its work, while it stays open (a
// replace never stops to copy it); a connection closed right after a large commit leaves the
// database whole and no WAL behind.
TEST(SqlitePosting, CommittedPagesReachTheDatabaseFileWhileTheConnectionStaysOpen) {
  TCrmTestInstall install;
  const std::string file = install.DbFile();
  const auto megabytes = [&] { return std::filesystem::file_size(file) >> 20; };
  // 24 MiB in one commit: more than the WAL takes before its pages are copied.
  const std::string fill =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 24) "
      "INSERT INTO Filler SELECT zeroblob(1048576) FROM n";
  {
    auto db = install.Open();
    db->ExecSQL("CREATE TABLE Filler (B BLOB)", {});
    const auto before = megabytes();
    db->ExecSQL(fill, {});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (megabytes() < before + 24 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(megabytes(), before + 24) << "the pages stayed in the WAL";
    db->ExecSQL(fill, {});
  }
  EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
  EXPECT_EQ(QueryOne(*install.Open(), "SELECT count(*) FROM Filler"), "48");
  EXPECT_GE(megabytes(), 48u);
}
