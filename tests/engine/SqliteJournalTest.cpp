// The journal a table cursor writes beside its posts: one row per post in the same transaction,
// none for a refused post, and never a record posted without its row.
#include <gtest/gtest.h>

#include "tests/support/CrmTestInstall.h"
#include "tests/support/TestJournalTable.h"

namespace {

constexpr size_t kDocumentName = 21;  // Docs.DOCUMENT_NAME

void AddDocs(TAceConnection& db, int n) {
  for (int i = 1; i <= n; ++i)
    db.ExecSQL("INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES (:Id, :Name)",
               {{"Id", "D" + std::to_string(i)}, {"Name", "C:\\DOCS\\" + std::to_string(i)}});
}

// Every journal row as "run table recid field old new", in insertion order.
std::vector<std::string> JournalRows(TAceConnection& db) {
  std::vector<std::string> rows;
  auto q = db.OpenQuery(
      "SELECT Run, Tbl, Rec, Fld, OldV, NewV FROM TestJournal "
      "ORDER BY rowid",
      {});
  for (; !q->Eof(); q->Next()) {
    std::string row;
    for (size_t f = 0; f < 6; ++f) row += (f ? " " : "") + q->FieldText(f);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(SqliteJournal, EachPostWritesItsRowAndARefusedPostNone) {
  TCrmTestInstall install;
  auto db = install.Open();
  db->ExecSQL(kCreateTestJournal, {});
  AddDocs(*db, 3);
  auto table = db->OpenTable("Docs", {});
  table->JournalPosts(TestJournal("R7", "Docs"));
  ASSERT_EQ(table->FieldText(kDocumentName), "C:\\DOCS\\1");  // read, as a pass reads it
  // Another station changes the second record after we read it: our post is refused.
  install.Open()->ExecSQL("UPDATE Docs SET DOCUMENT_NAME = 'other' WHERE RECID = 'D2'", {});
  table->Post({{kDocumentName, "E:\\1"}});
  table->Next();
  EXPECT_THROW(table->Post({{kDocumentName, "E:\\2"}}), EADSDatabaseError);
  table->Next();
  table->Post({{kDocumentName, "E:\\3"}});
  table->Close();
  EXPECT_EQ(JournalRows(*db), (std::vector<std::string>{
                                  "R7 Docs D1 DOCUMENT_NAME C:\\DOCS\\1 E:\\1",
                                  "R7 Docs D3 DOCUMENT_NAME C:\\DOCS\\3 E:\\3",
                              }));
  EXPECT_EQ(table->CommittedPosts(), 2);
}

TEST(SqliteJournal, AFailedJournalRowTakesItsWholeGroupBack) {
  // Journal rows are inserted in batches: a failing row of the rows still held surfaces when
  // the group commits (here at Close), one of a full batch during the walk; either way the
  // whole group goes, and the error counts every post of it.
  struct TCase {
    int docs;
    const char* failing;
    const char* rolledBack;
  };
  for (const TCase& c : {TCase{4, "D3", "4 posted records were rolled back"},
                         TCase{150, "D70", "128 posted records were rolled back"}}) {
    SCOPED_TRACE(c.failing);
    TCrmTestInstall install;
    auto db = install.Open();
    db->ExecSQL(kCreateTestJournal, {});
    AddDocs(*db, c.docs);
    // The journal refuses one record's row, as a full disk or a damaged table would.
    db->ExecSQL(std::string("CREATE TRIGGER NoRoom BEFORE INSERT ON TestJournal WHEN "
                            "NEW.Rec = '") +
                    c.failing + "' BEGIN SELECT RAISE(ABORT, 'journal full'); END",
                {});
    auto table = db->OpenTable("Docs", {});
    table->JournalPosts(TestJournal("R1", "Docs"));
    std::string message;
    try {
      for (; !table->Eof(); table->Next()) table->Post({{kDocumentName, "X"}});
      table->Close();
    } catch (const EADSDatabaseError& e) {
      message = e.Message();
    }
    EXPECT_NE(message.find("journal full"), std::string::npos) << message;
    EXPECT_NE(message.find(c.rolledBack), std::string::npos) << message;
    EXPECT_EQ(table->CommittedPosts(), 0);
    table.reset();
    auto check = install.Open();
    EXPECT_EQ(JournalRows(*check), std::vector<std::string>{});
    auto q = check->OpenQuery("SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = 'X'", {});
    EXPECT_EQ(q->FieldText(0), "0");
  }
}

TEST(SqliteJournal, RefusedWithoutAJournalTableOrOnAQuery) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddDocs(*db, 1);
  auto table = db->OpenTable("Docs", {});
  EXPECT_THROW(table->JournalPosts(TestJournal("R1", "Docs")),
               EADSDatabaseError);      // no journal table
  table->Post({{kDocumentName, "X"}});  // the cursor still posts, unjournalled
  table->Close();
  auto query = db->OpenQuery("SELECT * FROM Docs", {});
  try {
    query->JournalPosts(TestJournal("R1", "Docs"));
    ADD_FAILURE() << "a query cursor journalled";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrNoJournal);
  }
}
