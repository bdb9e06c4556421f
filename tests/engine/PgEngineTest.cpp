// What only the remote server does: connecting by conninfo or ads.ini, grouped posts refused
// when their group goes, enforced widths, a session dropped in the middle of a walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/engine/driver/EngineDriver.h"
#include "platform/engine/postgres/PgAceDriver.h"
#include "platform/engine/postgres/PgSupport.h"
#include "tests/support/EngineTestDatabase.h"
#include "tests/support/TestJournalTable.h"

namespace {

constexpr size_t kDocumentName = 21;  // Docs.DOCUMENT_NAME

EADSDatabaseError ConnectError(const std::string& conninfo) {
  try {
    ConnectPg(conninfo);
  } catch (const EADSDatabaseError& e) {
    return e;
  }
  ADD_FAILURE() << "connecting to " << conninfo << " did not fail";
  return EADSDatabaseError("");
}

// A login role on the test cluster, kept from one run to the next; tests running side by side
// may both create it.
void CreateTestRole(const std::string& definition) {
  ConnectPg(PgTestConninfo())
      ->ExecSQL("DO $$ BEGIN CREATE ROLE " + definition +
                    "; EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$",
                {});
}

void CreateTestJournal(TAceConnection& conn) {
  conn.ExecSQL(kCreateTestJournal, {});
}

}  // namespace

TEST(PgEngine, ConnectFailuresCarryTheServersMessageAndTheirOwnCode) {
  TTempDir noServer;
  const std::string server = PgTestConninfo();
  // The test cluster asks the members of vrl_password_users for their password.
  CreateTestRole("vrl_password_user LOGIN PASSWORD 'right' IN ROLE vrl_password_users");
  const struct {
    std::string conninfo;
    uint32_t code;
    const char* said;  // by libpq or the server
  } cases[] = {
      {"host=" + noServer.Path().string() + " port=54329 dbname=crm", AdsErrServerUnreachable,
       "No such file or directory"},
      {PgConninfoWithDatabase(server, "vrl_no_such_database"), AdsErrNoServerDatabase,
       "\"vrl_no_such_database\" does not exist"},
      {server + " user=vrl_no_such_role", AdsErrLoginRefused, "vrl_no_such_role"},
      {server + " user=vrl_password_user password=wrong", AdsErrLoginRefused,
       "password authentication failed"},
  };
  for (const auto& c : cases) {
    const EADSDatabaseError e = ConnectError(c.conninfo);
    EXPECT_EQ(e.ACEErrorCode, c.code) << e.Message();
    EXPECT_NE(e.Message().find(c.said), std::string::npos) << e.Message();
  }
}

TEST(PgEngine, TheRemoteServerIsFoundInAdsIniBesideTheProgram) {
  TEngineTestDatabase db(TTestEngine::Remote);
  const std::string conninfo = db.Conninfo();
  const std::string utils = db.ConnectPath() + "/../Utils/";
  Platform().SetEngine(CreateEngineDriver());  // ads.ini, not a conninfo
  auto connect = [&] {
    return Platform().Engine().Connect(db.ConnectPath(), TAdsServerType::stADS_REMOTE);
  };
  try {
    connect();
    FAIL() << "connected without ads.ini";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrNoServerSettings);
    EXPECT_NE(e.Message().find("ads.ini"), std::string::npos) << e.Message();
  }
  std::ofstream(utils + "ads.ini") << "[SETTINGS]\nADS_SERVER_TYPE=1\n"
                                   << RemoteAdsIniSection(conninfo);
  auto remote = connect();
  EXPECT_EQ(remote->ConnectionType(), "Remote");
  EXPECT_EQ(QueryOne(*remote, "SELECT current_database()"),
            PgTestRows(conninfo, "SELECT current_database()")[0][0]);
  // The local server still opens its folder.
  EXPECT_THROW(Platform().Engine().Connect(db.ConnectPath(), TAdsServerType::stADS_LOCAL),
               EADSDatabaseError);  // this installation has no local database file
}

TEST(PgEngine, APostRefusedWhenItsGroupGoesIsHandedBackForTheRecordAsStoredNow) {
  TEngineTestDatabase db(TTestEngine::Remote);
  auto conn = db.Open();
  AddTestDocs(*conn, 4);
  auto table = conn->OpenTable("Docs", {});
  ASSERT_EQ(table->FieldText(kDocumentName), "C:\\DOCS\\1");
  // Another station commits after our read: D1 changed, D2 deleted.
  auto other = db.Open();
  other->ExecSQL("UPDATE Docs SET DOCUMENT_NAME = 'Z:\\UserMoved\\1' WHERE RECID = 'D1'", {});
  other->ExecSQL("DELETE FROM Docs WHERE RECID = 'D2'", {});
  for (; !table->Eof(); table->Next()) table->Post({{kDocumentName, "E:\\new"}});
  EXPECT_EQ(table->CommittedPosts(), 0);  // nothing sent yet

  std::vector<std::string> revisited;
  for (TAceRevisit found; (found = table->NextRefused()) != TAceRevisit::Done;) {
    if (found == TAceRevisit::Deleted) {
      EXPECT_TRUE(table->Eof());
      revisited.push_back("deleted");
      continue;
    }
    const std::string recid = table->FieldText(0);  // fetched now: references to others go stale
    revisited.push_back(recid + " " + table->FieldText(kDocumentName));
    table->Post({{kDocumentName, "E:\\UserMoved\\1"}});
  }
  std::sort(revisited.begin(), revisited.end());
  EXPECT_EQ(revisited, (std::vector<std::string>{"D1 Z:\\UserMoved\\1", "deleted"}));
  table->Close();
  EXPECT_EQ(table->CommittedPosts(), 3);
  EXPECT_EQ(db.Column("Docs", "DOCUMENT_NAME"),
            (std::vector<std::string>{"E:\\UserMoved\\1", "E:\\new", "E:\\new"}));
}

TEST(PgEngine, CloseNamesRefusedPostsNobodyRevisited) {
  TEngineTestDatabase db(TTestEngine::Remote);
  auto conn = db.Open();
  AddTestDocs(*conn, 2);
  auto table = conn->OpenTable("Docs", {});
  table->FieldText(kDocumentName);
  db.Open()->ExecSQL("UPDATE Docs SET DOCUMENT_NAME = 'Z:\\x' WHERE RECID = 'D1'", {});
  table->Post({{kDocumentName, "E:\\1"}});
  table->Next();
  table->Post({{kDocumentName, "E:\\2"}});
  try {
    table->Close();
    FAIL() << "a refused post went unmentioned";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrRecordChanged);
    EXPECT_NE(e.Message().find("1 posted records were not written"), std::string::npos)
        << e.Message();
  }
  EXPECT_EQ(table->CommittedPosts(), 1);
  EXPECT_EQ(db.Column("Docs", "DOCUMENT_NAME"), (std::vector<std::string>{"Z:\\x", "E:\\2"}));
}

TEST(PgEngine, AFailedGroupIsLostWholeAndSaysSo) {
  const struct {
    const char* arrange;
    std::string bad;
    uint32_t code;
    const char* said;
  } cases[] = {
      {"", "E:\\" + std::string(300, 'x'), AdsErrValueTooLong, "value too long"},
      {"ALTER TABLE Docs ADD CONSTRAINT NoBad CHECK (DOCUMENT_NAME <> 'BAD')", "BAD",
       AdsErrWriteRefused, "nobad"},
  };
  for (const auto& c : cases) {
    TEngineTestDatabase db(TTestEngine::Remote);
    auto conn = db.Open();
    AddTestDocs(*conn, 4);
    if (*c.arrange) conn->ExecSQL(c.arrange, {});
    auto table = conn->OpenTable("Docs", {});
    table->Post({{kDocumentName, "E:\\1"}});
    table->Next();
    table->Post({{kDocumentName, c.bad}});
    table->Next();
    table->Post({{kDocumentName, "E:\\3"}});
    try {
      table->Close();
      ADD_FAILURE() << "the group went through: " << c.said;
    } catch (const EADSDatabaseError& e) {
      EXPECT_EQ(e.ACEErrorCode, c.code) << e.Message();
      EXPECT_NE(e.Message().find(c.said), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find("3 posted records were rolled back"), std::string::npos)
          << e.Message();
    }
    EXPECT_EQ(table->CommittedPosts(), 0);
    EXPECT_EQ(QueryOne(*db.Open(), "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME LIKE 'C:%'"),
              "4");
  }
}

// A walk in row-key order sends a batch's posts when the next batch has been read, through the
// connection's extra sessions in turn, and takes their result later: a refusal in such a group
// is still handed back, and a group that fails is lost whole with the posts not yet sent, never
// counted as written, while the group already on its way in the other session is written.
TEST(PgEngine, AWalkReadingAheadHandsBackRefusalsAndLosesAFailedGroupWhole) {
  constexpr int kDocs = 5000;  // three batches
  {
    TEngineTestDatabase db(TTestEngine::Remote);
    auto conn = db.Open();
    AddTestDocs(*conn, kDocs);
    auto table = conn->OpenTable("Docs", {});
    auto other = db.Open();
    for (int n = 1; !table->Eof(); table->Next(), ++n) {
      table->FieldText(kDocumentName);  // read, so the post writes only over the value read
      table->Post({{kDocumentName, "E:\\" + std::to_string(n)}});
      // Read by us, then changed by another station: D10 of the first batch, whose group goes
      // while the second batch is walked, and D4500 of the last batch, sent at the end.
      if (n == 10)
        other->ExecSQL("UPDATE Docs SET DOCUMENT_NAME = 'Z:\\10' WHERE RECID = 'D10'", {});
      if (n == 4200)
        other->ExecSQL("UPDATE Docs SET DOCUMENT_NAME = 'Z:\\4500' WHERE RECID = 'D4500'", {});
    }
    std::vector<std::string> revisited;
    while (table->NextRefused() == TAceRevisit::Changed) {
      const std::string value = table->FieldText(kDocumentName);  // copied: reading on
      revisited.push_back(table->FieldText(0) + " " + value);     // may refetch the record
    }
    std::sort(revisited.begin(), revisited.end());
    EXPECT_EQ(revisited, (std::vector<std::string>{"D10 Z:\\10", "D4500 Z:\\4500"}));
    table->Close();
    EXPECT_EQ(table->CommittedPosts(), kDocs - 2);
    EXPECT_EQ(QueryOne(*other, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME LIKE 'E:%'"),
              std::to_string(kDocs - 2));
  }
  // A login the server allows one session writes through the connection's own session: a
  // failed group takes the next batch's group, queued behind it, with it.
  CreateTestRole("vrl_one_session_user LOGIN CONNECTION LIMIT 1");
  const struct {
    const char* user;
    const char* lost;
    int64_t written;
  } logins[] = {{"", "2952 posted records were rolled back", 2048},
                {" user=vrl_one_session_user", "4096 posted records were rolled back", 0}};
  for (const auto& login : logins) {
    TEngineTestDatabase db(TTestEngine::Remote);
    auto conn = db.Open();
    AddTestDocs(*conn, kDocs);
    conn->ExecSQL("GRANT ALL ON Docs TO vrl_one_session_user", {});
    auto own = ConnectPg(db.Conninfo() + login.user);
    auto table = own->OpenTable("Docs", {});
    std::string message;
    try {
      for (int n = 1; !table->Eof(); table->Next(), ++n)
        table->Post({{kDocumentName, n == 100 ? "E:\\" + std::string(300, 'x') : "E:\\ok"}});
      table->Close();
    } catch (const EADSDatabaseError& e) {
      message = e.Message();
    }
    // The first batch's group failed, and the last batch's posts, not yet sent, went with it.
    EXPECT_NE(message.find("value too long"), std::string::npos) << message;
    EXPECT_NE(message.find(login.lost), std::string::npos) << login.user << ": " << message;
    EXPECT_EQ(table->CommittedPosts(), login.written) << login.user;
    EXPECT_EQ(QueryOne(*conn, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME LIKE 'E:%'"),
              std::to_string(login.written))
        << login.user;
  }
}

// The sessions a walk writes its groups through end (an administrator ends them) while the
// connection's own session lives on: the walk fails, says how many posts were not written,
// reports no more than the server holds and sends nothing again through its own session.
TEST(PgEngine, WriteSessionsEndedMidWalkFailTheWalkAndItsOwnSessionLivesOn) {
  TEngineTestDatabase db(TTestEngine::Remote);
  auto conn = db.Open();
  AddTestDocs(*conn, 9000);
  const std::string own = QueryOne(*conn, "SELECT pg_backend_pid()");
  auto table = conn->OpenTable("Docs", {});
  EADSDatabaseError failure("");
  try {
    for (int n = 1; !table->Eof(); table->Next(), ++n) {
      if (n == 5000)  // the first two batches' groups went through the two write sessions
        PgTestRows(db.Conninfo(),
                   "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                   "current_database() AND pid NOT IN (pg_backend_pid(), " +
                       own + ")");
      table->Post({{kDocumentName, "E:\\x"}});
    }
    table->Close();
    ADD_FAILURE() << "the walk went on without its write sessions";
  } catch (const EADSDatabaseError& e) {
    failure = e;
  }
  EXPECT_EQ(failure.ACEErrorCode, AdsErrServerUnreachable) << failure.Message();
  EXPECT_NE(failure.Message().find("2048"), std::string::npos) << failure.Message();
  const int64_t held =
      std::stoll(QueryOne(*conn, "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME LIKE 'E:%'"));
  EXPECT_GE(held, table->CommittedPosts());
  EXPECT_LE(held, table->CommittedPosts() + 2 * 2048);  // the two groups left unanswered
  EXPECT_LE(held, 4096) << "a group was sent again through the connection's own session";
}

TEST(PgEngine, EnforcedWidthsAndOtherStationsAreTold) {
  TEngineTestDatabase db(TTestEngine::Remote);
  auto conn = db.Open();
  AddTestDocs(*conn, 3000);
  auto docs = conn->OpenTable("Docs", {});
  EXPECT_EQ(docs->FieldWidth(kDocumentName), std::optional<size_t>(260));
  EXPECT_EQ(docs->FieldWidth(0), std::nullopt);
  EXPECT_EQ(conn->OpenTable("Cards", {})->FieldWidth(6), std::optional<size_t>(260));
  // The two extra sessions the walk writes its groups through are this station's own.
  auto sessions = [&] {
    return std::stoi(QueryOne(*conn,
                              "SELECT count(*) FROM pg_stat_activity WHERE datname = "
                              "current_database()"));
  };
  const int before = sessions();
  for (; !docs->Eof(); docs->Next()) docs->Post({{kDocumentName, "E:\\x"}});
  docs->Close();
  EXPECT_EQ(docs->CommittedPosts(), 3000);
  EXPECT_EQ(sessions(), before + 2);
  EXPECT_EQ(conn->OtherStations("SysLock"), 0);
  auto second = db.Open();
  auto third = db.Open();
  EXPECT_EQ(conn->OtherStations("SysLock"), 2);
}

TEST(PgEngine, OtherStationsAreCountedOnceEachWhateverSessionsTheyHold) {
  TEngineTestDatabase db(TTestEngine::Remote);
  auto conn = db.Open();
  // Another station, about to replace; the application name its settings give is not what
  // its sessions show.
  auto replacing = ConnectPg(db.Conninfo() + " application_name=CRM");
  AddTestDocs(*replacing, 3000);
  EXPECT_EQ(conn->OtherStations("SysLock"), 1);
  // Its walk writes through two extra sessions of its own: still one station.
  auto docs = replacing->OpenTable("Docs", {});
  for (; !docs->Eof(); docs->Next()) docs->Post({{kDocumentName, "E:\\x"}});
  ASSERT_EQ(
      QueryOne(*conn, "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database()"),
      "4");
  EXPECT_EQ(conn->OtherStations("SysLock"), 1);
  EXPECT_EQ(replacing->OtherStations("SysLock"), 1);
  // A session that names no station of ours (another program) is a station of its own.
  PGconn* foreign = PQconnectdb(db.Conninfo().c_str());
  ASSERT_EQ(PQstatus(foreign), CONNECTION_OK) << PQerrorMessage(foreign);
  EXPECT_EQ(conn->OtherStations("SysLock"), 2);
  PQfinish(foreign);
  docs->Close();
  EXPECT_EQ(docs->CommittedPosts(), 3000);
}

TEST(PgEngine, JournalRowsAreWrittenWithTheirPostsAndNotForRefusedOnes) {
  TEngineTestDatabase db(TTestEngine::Remote);
  auto conn = db.Open();
  AddTestDocs(*conn, 3);
  CreateTestJournal(*conn);
  auto table = conn->OpenTable("Docs", {});
  table->JournalPosts(TestJournal("run-1", "Docs"));
  table->FieldText(kDocumentName);
  db.Open()->ExecSQL("UPDATE Docs SET DOCUMENT_NAME = 'Z:\\x' WHERE RECID = 'D2'", {});
  for (; !table->Eof(); table->Next())
    table->Post({{kDocumentName, "E:" + table->FieldText(kDocumentName).substr(2)}});
  EXPECT_EQ(table->NextRefused(), TAceRevisit::Changed);
  EXPECT_EQ(table->NextRefused(), TAceRevisit::Done);
  table->Close();
  EXPECT_EQ(PgTestRows(db.Conninfo(), "SELECT * FROM TestJournal ORDER BY Rec"),
            (std::vector<std::vector<std::string>>{
                {"run-1", "Docs", "D1", "DOCUMENT_NAME", "C:\\DOCS\\1", "E:\\DOCS\\1"},
                {"run-1", "Docs", "D3", "DOCUMENT_NAME", "C:\\DOCS\\3", "E:\\DOCS\\3"}}));
}

// A journal row's old value is the stored one whether the posted field was read first
// (compared) or not, and its RecId is the record's RECID before the post even when the post
// changes it.
TEST(PgEngine, JournalRowsHoldTheOldValuesOfFieldsReadOrNotAndTheOldRecId) {
  const struct {
    const char* name;
    bool readFirst;
    bool changeRecId;
  } cases[] = {{"read", true, false}, {"not read", false, false}, {"RECID changed", true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TEngineTestDatabase db(TTestEngine::Remote);
    auto conn = db.Open();
    AddTestDocs(*conn, 2);
    CreateTestJournal(*conn);
    auto table = conn->OpenTable("Docs", {});
    const auto& names = table->FieldNames();
    const size_t recId = std::find(names.begin(), names.end(), "RECID") - names.begin();
    ASSERT_LT(recId, names.size());
    table->JournalPosts(TestJournal("run-1", "Docs"));
    if (c.readFirst) table->FieldText(kDocumentName);
    for (int i = 1; !table->Eof(); table->Next(), ++i) {
      std::vector<std::pair<size_t, std::string>> changes{
          {kDocumentName, "E:\\NEW\\" + std::to_string(i)}};
      if (c.changeRecId) changes.emplace_back(recId, "X" + table->FieldText(recId));
      table->Post(changes);
    }
    table->Close();
    std::vector<std::vector<std::string>> expected;
    for (const char* id : {"1", "2"}) {
      expected.push_back({"run-1", "Docs", std::string("D") + id, "DOCUMENT_NAME",
                          std::string("C:\\DOCS\\") + id, std::string("E:\\NEW\\") + id});
      if (c.changeRecId)
        expected.push_back({"run-1", "Docs", std::string("D") + id, "RECID", std::string("D") + id,
                            std::string("XD") + id});
    }
    EXPECT_EQ(PgTestRows(db.Conninfo(), "SELECT * FROM TestJournal ORDER BY Rec, Fld"), expected);
    EXPECT_EQ(PgTestRows(db.Conninfo(),
                         "SELECT count(*) FROM Docs WHERE DOCUMENT_NAME LIKE "
                         "'E:%'"),
              (std::vector<std::vector<std::string>>{{"2"}}));
  }
}

TEST(PgEngine, ServerStatesMapToTheEngineCodesTheProgramDecidesBy) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"08006", AdsErrServerUnreachable},
      {"57P01", AdsErrServerUnreachable},
      {"28P01", AdsErrLoginRefused},
      {"3D000", AdsErrNoServerDatabase},
      {"42P01", AdsErrNoTable},
      {"42703", AdsErrSql},
      {"42601", AdsErrSql},
      {"22001", AdsErrValueTooLong},
      {"23505", AdsErrWriteRefused},
      {"23514", AdsErrWriteRefused},
      {"40001", AdsErrBusy},
      {"40P01", AdsErrBusy},
      {"55P03", AdsErrBusy},
      {"53100", AdsErrIo},
      {"25006", AdsErrReadOnly},
  };
  for (const auto& [state, code] : cases) EXPECT_EQ(PgEngineCode(state), code) << state;
}
