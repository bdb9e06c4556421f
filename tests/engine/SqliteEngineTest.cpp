#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/engine/AdsComponents.h"
#include "tests/support/CrmTestInstall.h"

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

// n documents D0001.. with DOCUMENT_NAME C:\DOCS\<n>.doc; DOCUMENT_DESC stays NULL.
void AddDocs(TAceConnection& db, int n) {
  db.BeginTransaction();
  for (int i = 1; i <= n; ++i) {
    char id[16];
    std::snprintf(id, sizeof id, "D%05d", n + 1 - i);  // ids fall while rowids rise
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

TEST(SqliteEngine, TablesMatchWithoutCaseOrExtensionAndAMissingOneIsNamed) {
  TCrmTestInstall install;
  auto db = install.Open();
  EXPECT_EQ(db->OpenTable("cards.ADT", {})->FieldNames().at(0), "RECID");
  EXPECT_EQ(db->OpenTable("DOCS", {})->FieldNames().size(), 22u);
  try {
    db->OpenTable("Invoices.adt", {});
    FAIL() << "a missing table opened";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrNoTable);
    EXPECT_NE(e.Message().find("Invoices.adt"), std::string::npos);
  }
  EXPECT_EQ(CreateSqliteAceDriver()->Version().Major, 11u);
  EXPECT_EQ(CreateSqliteAceDriver()->Version().Minor, 10u);
}

TEST(SqliteEngine, WalksInRowidOrderAcrossBatchesAndByIndexWhenAsked) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddDocs(*db, 2500);
  auto natural = db->OpenTable("Docs", {});
  EXPECT_EQ(natural->RecordCount(), 2500);
  int seen = 0;
  for (; !natural->Eof(); natural->Next()) {
    ++seen;
    ASSERT_EQ(natural->FieldText(21), "C:\\DOCS\\" + std::to_string(seen) + ".doc");
    if (seen == 1500) {  // a column asked for only now is fetched from this record on
      ASSERT_EQ(natural->FieldText(0), "D01001");
    }
    if (seen > 1500) {
      char id[16];
      std::snprintf(id, sizeof id, "D%05d", 2501 - seen);
      ASSERT_EQ(natural->FieldText(0), id);
    }
  }
  EXPECT_EQ(seen, 2500);

  TAceTableOptions byKey;
  byKey.IndexName = "PRIMARY";
  auto indexed = db->OpenTable("Docs", byKey);
  EXPECT_EQ(indexed->FieldText(0), "D00001");
  EXPECT_EQ(indexed->FieldText(21), "C:\\DOCS\\2500.doc");
  ASSERT_TRUE(indexed->Seek("D01200"));
  EXPECT_EQ(indexed->FieldText(21), "C:\\DOCS\\1301.doc");
  indexed->Next();
  EXPECT_EQ(indexed->FieldText(0), "D01201");
  EXPECT_FALSE(indexed->Seek("D01200x"));
}

TEST(SqliteEngine, PostWritesOnlyTheChangedFieldAndNullStaysNull) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddDocs(*db, 3);
  {
    auto table = db->OpenTable("Docs.adt", {});
    table->Next();
    EXPECT_TRUE(table->FieldIsNull(8));
    EXPECT_EQ(table->FieldText(8), "");
    table->Post({{21, "E:\\NEW\\2.doc"}});
    EXPECT_EQ(table->FieldText(21), "E:\\NEW\\2.doc");
    table->Close();
  }
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"C:\\DOCS\\1.doc", "E:\\NEW\\2.doc", "C:\\DOCS\\3.doc"}));
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_DESC"), (std::vector<std::string>(3, "<NULL>")));
}

TEST(SqliteEngine, PostsBeforeAFailureAreCommittedBeforeTheErrorIsRaised) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddDocs(*db, 10);
  db->ExecSQL(
      "CREATE TRIGGER Refuse BEFORE UPDATE ON Docs WHEN OLD.DOCUMENT_NAME = 'C:\\DOCS\\6.doc' "
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

TEST(SqliteEngine, GroupedPostsAreCommittedEveryFewThousandRecords) {
  TCrmTestInstall install;
  auto db = install.Open();
  AddDocs(*db, 5000);
  auto table = db->OpenTable("Docs", {});
  for (; !table->Eof(); table->Next()) table->Post({{21, "X"}});
  auto other = install.Open();
  int64_t seen = Count(*other, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = 'X'");
  EXPECT_GE(seen, 4096);
  table->Close();  // closing commits the rest
  EXPECT_EQ(table->CommittedPosts(), 5000);
  EXPECT_EQ(Count(*other, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME = 'X'"), 5000);
}

TEST(SqliteEngine, QueriesTakeNamedParametersWithoutCase) {
  TCrmTestInstall install;
  auto db = install.Open();
  db->ExecSQL(
      "INSERT INTO Lang (LANGID, RECID, VALUE) VALUES ('LNGENG', 'R1', 'One'), "
      "('LNGHEB', 'R1', 'אחד'), ('LNGENG', 'R2', NULL)",
      {});
  auto rows = db->OpenQuery("select * from Lang where LangId =:LangId", {{"LANGID", "LNGENG"}});
  EXPECT_EQ(rows->RecordCount(), 2);
  EXPECT_EQ(rows->FieldText(4), "One");
  rows->Next();
  EXPECT_TRUE(rows->FieldIsNull(4));
  rows->Next();
  EXPECT_TRUE(rows->Eof());
  rows->First();
  EXPECT_EQ(rows->FieldText(1), "R1");
  EXPECT_THROW(rows->Post({{4, "x"}}), EADSDatabaseError);
}

TEST(AdsComponents, TablesFindTheirConnectionByNameAndWriteOnlyEditedFields) {
  TCrmTestInstall install;
  AddDocs(*install.Open(), 2);
  TModule module(nullptr, "DBConnectionDM");
  TAdsConnection connection(&module, "DBConnection");
  connection.ConnectPath = install.DbFolder();
  EXPECT_EQ(TAdsConnection::FindByName("DBConnectionDM.DBConnection"), &connection);
  EXPECT_EQ(TAdsConnection::FindByName("Other.DBConnection"), nullptr);

  TAdsTable table(&module, "DatDocsTbl");
  table.DatabaseName = "DBConnectionDM.DBConnection";
  table.TableName = "Docs.adt";
  table.Open();  // connects on the way
  EXPECT_TRUE(connection.IsConnected());
  EXPECT_EQ(connection.ConnectionType(), "Local");
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
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"E:\\1.doc", "C:\\DOCS\\2.doc"}));
  EXPECT_EQ(install.Column("Docs", "DOCUMENT_DESC"), (std::vector<std::string>(2, "<NULL>")));
}
