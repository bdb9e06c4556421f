// The engine suite both engines pass: the local server (SQLite) and the remote one (PostgreSQL).
#include <gtest/gtest.h>

#include "platform/engine/AdsComponents.h"
#include "tests/support/EngineTestDatabase.h"

namespace {

constexpr size_t kDocumentName = 21;  // Docs.DOCUMENT_NAME
constexpr size_t kDocumentDesc = 8;   // Docs.DOCUMENT_DESC

class Engine : public testing::TestWithParam<TTestEngine> {
 protected:
  TEngineTestDatabase db{GetParam()};
};

// n documents D0001.. with DOCUMENT_NAME C:\DOCS\<n>.doc; DOCUMENT_DESC stays NULL.
void AddDocs(TAceConnection& db, int n) {
  db.BeginTransaction();
  for (int i = 1; i <= n; ++i) {
    char id[16];
    std::snprintf(id, sizeof id, "D%05d", n + 1 - i);  // ids fall while the natural order rises
    db.ExecSQL("INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES (:Id, :Name)",
               {{"Id", id}, {"Name", "C:\\DOCS\\" + std::to_string(i) + ".doc"}});
  }
  db.Commit();
}

struct TModule : TComponent {
  using TComponent::TComponent;
  std::string ClassName() const override { return "TModule"; }
};

int64_t Count(TAceConnection& db, const std::string& sql) {
  return std::stoll(QueryOne(db, sql));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(, Engine, testing::Values(TTestEngine::Local, TTestEngine::Remote),
                         EngineName);

TEST_P(Engine, TablesMatchWithoutCaseOrExtensionAndAMissingOneIsNamed) {
  auto conn = db.Open();
  EXPECT_EQ(conn->OpenTable("cards.ADT", {})->FieldNames().at(0), "RECID");
  const auto docs = conn->OpenTable("DOCS", {})->FieldNames();
  EXPECT_EQ(docs.size(), 22u);  // the remote row key stays hidden
  EXPECT_EQ(docs.at(kDocumentName), "DOCUMENT_NAME");
  try {
    conn->OpenTable("Invoices.adt", {});
    FAIL() << "a missing table opened";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrNoTable);
    EXPECT_NE(e.Message().find("Invoices.adt"), std::string::npos);
  }
  EXPECT_EQ(Platform().Engine().Version().Major, 11u);
  EXPECT_EQ(Platform().Engine().Version().Minor, 10u);
  EXPECT_EQ(conn->ConnectionType(), GetParam() == TTestEngine::Local ? "Local" : "Remote");
}

TEST_P(Engine, WalksInNaturalOrderAcrossBatchesAndByIndexWhenAsked) {
  auto conn = db.Open();
  AddDocs(*conn, 4500);
  auto natural = conn->OpenTable("Docs", {});
  EXPECT_EQ(natural->RecordCount(), 4500);
  int seen = 0;
  for (; !natural->Eof(); natural->Next()) {
    ++seen;
    ASSERT_EQ(natural->FieldText(kDocumentName), "C:\\DOCS\\" + std::to_string(seen) + ".doc");
    if (seen == 1500) {  // a column asked for only now is fetched from this record on
      ASSERT_EQ(natural->FieldText(0), "D03001");
    }
    if (seen > 1500) {
      char id[16];
      std::snprintf(id, sizeof id, "D%05d", 4501 - seen);
      ASSERT_EQ(natural->FieldText(0), id);
    }
  }
  EXPECT_EQ(seen, 4500);

  TAceTableOptions byKey;
  byKey.IndexName = "PRIMARY";
  auto indexed = conn->OpenTable("Docs", byKey);
  EXPECT_EQ(indexed->FieldText(0), "D00001");
  EXPECT_EQ(indexed->FieldText(kDocumentName), "C:\\DOCS\\4500.doc");
  ASSERT_TRUE(indexed->Seek("D01200"));
  EXPECT_EQ(indexed->FieldText(kDocumentName), "C:\\DOCS\\3301.doc");
  indexed->Next();
  EXPECT_EQ(indexed->FieldText(0), "D01201");
  int after = 0;
  for (; !indexed->Eof(); indexed->Next()) ++after;
  EXPECT_EQ(after, 4500 - 1200);  // the walk goes on across batches after a seek
  EXPECT_FALSE(indexed->Seek("D01200x"));
}

TEST_P(Engine, PostWritesOnlyTheChangedFieldAndNullStaysNull) {
  auto conn = db.Open();
  AddDocs(*conn, 3);
  {
    auto table = conn->OpenTable("Docs.adt", {});
    table->Next();
    EXPECT_TRUE(table->FieldIsNull(kDocumentDesc));
    EXPECT_EQ(table->FieldText(kDocumentDesc), "");
    table->Post({{kDocumentName, "E:\\NEW\\2.doc"}});
    EXPECT_EQ(table->FieldText(kDocumentName), "E:\\NEW\\2.doc");
    table->Close();
    EXPECT_EQ(table->CommittedPosts(), 1);
  }
  EXPECT_EQ(db.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"C:\\DOCS\\1.doc", "E:\\NEW\\2.doc", "C:\\DOCS\\3.doc"}));
  EXPECT_EQ(db.Column("Docs", "DOCUMENT_DESC"), (std::vector<std::string>(3, "<NULL>")));
}

TEST_P(Engine, GroupedPostsAreCommittedEveryFewThousandRecords) {
  auto conn = db.Open();
  AddDocs(*conn, 9000);
  auto table = conn->OpenTable("Docs", {});
  for (; !table->Eof(); table->Next()) table->Post({{kDocumentName, "X"}});
  auto other = db.Open();
  // Before the table closes, the groups of the walk are committed, except the last ones: the
  // remote server may still be writing the two groups it was sent last while the walk read
  // ahead.
  int64_t seen = Count(*other, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = 'X'");
  EXPECT_GE(seen, 4096);
  table->Close();  // closing commits the rest
  EXPECT_EQ(table->CommittedPosts(), 9000);
  EXPECT_EQ(Count(*other, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = 'X'"), 9000);
}

TEST_P(Engine, QueriesTakeNamedParametersWithoutCase) {
  auto conn = db.Open();
  conn->ExecSQL(
      "INSERT INTO Lang (LANGID, RECID, VALUE) VALUES ('LNGENG', 'R1', 'One'), "
      "('LNGHEB', 'R1', 'אחד'), ('LNGENG', 'R2', NULL)",
      {});
  auto rows = conn->OpenQuery("select * from Lang where LangId =:LangId order by RECID",
                              {{"LANGID", "LNGENG"}});
  EXPECT_EQ(rows->RecordCount(), 2);
  const size_t value = rows->FieldNames().size() - 3;  // VALUE, LABEL, COLUMNTITLE last
  EXPECT_EQ(rows->FieldText(value), "One");
  rows->Next();
  EXPECT_TRUE(rows->FieldIsNull(value));
  rows->Next();
  EXPECT_TRUE(rows->Eof());
  rows->First();
  EXPECT_EQ(rows->FieldText(value), "One");
  EXPECT_THROW(rows->Post({{value, "x"}}), EADSDatabaseError);
  // A name used twice is one parameter; ExecSQL answers the rows it changed.
  EXPECT_EQ(conn->ExecSQL("UPDATE Lang SET HINT = :V WHERE VALUE = :V OR RECID = :Id",
                          {{"v", "One"}, {"Id", "R2"}}),
            2);
  EXPECT_EQ(QueryOne(*conn, "SELECT count(*) FROM Lang WHERE HINT = 'One'"), "2");
}

// Text the engines must keep byte for byte and match exactly: quotes, backslashes, the LIKE
// wildcards, a parameter-like and a cast-like run, non-ASCII text.
TEST_P(Engine, ValuesAreStoredAndMatchedByteForByte) {
  const std::string values[] = {
      "C:\\Docs\\O'Brien \"quoted\".doc",
      "\\\\server\\share\\100% done_final.doc",
      "D:\\a\\b :Name ::text $1 '' \\' E'x'",
      "ד:\\מסמכים\\חוזה.docx",
      "naïve — ü € 𝄞",
  };
  auto conn = db.Open();
  int n = 0;
  for (const std::string& value : values)
    conn->ExecSQL("INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES (:Id, :Value)",
                  {{"Id", "V" + std::to_string(++n)}, {"Value", value}});
  {
    auto table = conn->OpenTable("Docs", {});
    for (const std::string& value : values) {
      ASSERT_FALSE(table->Eof());
      EXPECT_EQ(table->FieldText(kDocumentName), value);
      table->Post({{kDocumentName, value + "|" + value}});
      table->Next();
    }
    table->Close();
  }
  n = 0;
  for (const std::string& value : values) {
    const std::string id = "V" + std::to_string(++n);
    // Matched exactly: the wildcards match only themselves.
    EXPECT_EQ(QueryOne(*conn, "SELECT RECID FROM Docs WHERE DOCUMENT_NAME = :Value",
                       {{"Value", value + "|" + value}}),
              id);
    EXPECT_EQ(QueryOne(*conn, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = :Value",
                       {{"Value", value}}),
              "0");
  }
  // A quoted literal holding a parameter-like run is text, not a parameter.
  EXPECT_EQ(QueryOne(*conn, "SELECT ':NotAParam' FROM Docs WHERE RECID = :Id", {{"Id", "V1"}}),
            ":NotAParam");
}

TEST_P(Engine, TablesFindTheirConnectionByNameAndWriteOnlyEditedFields) {
  AddDocs(*db.Open(), 2);
  TModule module(nullptr, "DBConnectionDM");
  TAdsConnection connection(&module, "DBConnection");
  connection.ConnectPath = db.ConnectPath();
  connection.AdsServerTypes = db.ServerType();
  EXPECT_EQ(TAdsConnection::FindByName("DBConnectionDM.DBConnection"), &connection);
  EXPECT_EQ(TAdsConnection::FindByName("Other.DBConnection"), nullptr);

  TAdsTable table(&module, "DatDocsTbl");
  table.DatabaseName = "DBConnectionDM.DBConnection";
  table.TableName = "Docs.adt";
  table.Open();  // connects on the way
  EXPECT_TRUE(connection.IsConnected());
  EXPECT_EQ(connection.ConnectionType(), GetParam() == TTestEngine::Local ? "Local" : "Remote");
  TAdsField& name = table.FieldByName("document_name");
  EXPECT_THROW(name.SetAsString("x"), EADSDatabaseError);  // not in edit mode
  table.Edit();
  name.SetAsString("E:\\1.doc");
  EXPECT_EQ(name.AsString(), "E:\\1.doc");
  table.Post();
  try {
    table.FieldByName("NO_SUCH");
    FAIL();
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrNoField);
    EXPECT_EQ(e.DataSetName, "DatDocsTbl");
    EXPECT_EQ(e.TableName, "Docs.adt");
  }
  connection.SetIsConnected(false);  // closes the table first
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(db.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"E:\\1.doc", "C:\\DOCS\\2.doc"}));
  EXPECT_EQ(db.Column("Docs", "DOCUMENT_DESC"), (std::vector<std::string>(2, "<NULL>")));
}

TEST_P(Engine, AnExplicitTransactionKeepsItsStatementsUntilCommitAndDropsThemOnRollback) {
  auto conn = db.Open();
  auto other = db.Open();
  conn->BeginTransaction();
  conn->ExecSQL("INSERT INTO SysRec (RECID) VALUES ('A')", {});
  EXPECT_EQ(Count(*other, "SELECT count(*) FROM SysRec"), 0);
  conn->Commit();
  EXPECT_EQ(Count(*other, "SELECT count(*) FROM SysRec"), 1);
  conn->BeginTransaction();
  conn->ExecSQL("INSERT INTO SysRec (RECID) VALUES ('B')", {});
  conn->Rollback();
  EXPECT_EQ(db.Column("SysRec", "RECID"), (std::vector<std::string>{"A"}));
  // A table's posts inside one are committed by Commit, not by the table.
  conn->BeginTransaction();
  {
    auto table = conn->OpenTable("SysRec", {});
    table->Post({{0, "A2"}});
    table->Close();
  }
  EXPECT_EQ(db.Column("SysRec", "RECID"), (std::vector<std::string>{"A"}));
  conn->Commit();
  EXPECT_EQ(db.Column("SysRec", "RECID"), (std::vector<std::string>{"A2"}));
}
