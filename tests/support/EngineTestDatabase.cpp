#include "tests/support/EngineTestDatabase.h"

#include <libpq-fe.h>

#include "db/CrmSchemaPostgres.h"
#include "platform/engine/driver/EngineDriver.h"

TEngineTestDatabase::TEngineTestDatabase(TTestEngine engine)
    : engine_(engine), install_(engine == TTestEngine::Local) {
  if (engine_ == TTestEngine::Local) return;
  pg_ = std::make_unique<TPgTestDatabase>();
  PgTestExec(pg_->Conninfo(), CrmSchemaPostgresSql());
  Platform().SetEngine(CreateEngineDriver(pg_->Conninfo()));
}

TAdsServerType TEngineTestDatabase::ServerType() const {
  return engine_ == TTestEngine::Local ? TAdsServerType::stADS_LOCAL : TAdsServerType::stADS_REMOTE;
}

std::unique_ptr<TAceConnection> TEngineTestDatabase::Open() const {
  return CreateEngineDriver(Conninfo())->Connect(ConnectPath(), ServerType());
}

std::vector<std::string> TEngineTestDatabase::Column(const std::string& table,
                                                     const std::string& column) const {
  const char* order = engine_ == TTestEngine::Local ? "rowid" : "vrl_rowid";
  auto rows = Open()->OpenQuery("SELECT " + column + " FROM " + table + " ORDER BY " + order, {});
  std::vector<std::string> values;
  for (; !rows->Eof(); rows->Next())
    values.push_back(rows->FieldIsNull(0) ? "<NULL>" : rows->FieldText(0));
  return values;
}

std::string EngineName(const testing::TestParamInfo<TTestEngine>& info) {
  return info.param == TTestEngine::Local ? "Local" : "Remote";
}

std::string RemoteAdsIniSection(const std::string& conninfo) {
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), nullptr);
  std::string host, port, dbname, user;
  for (PQconninfoOption* o = options; o && o->keyword; ++o) {
    const std::string keyword = o->keyword, value = o->val ? o->val : "";
    if (keyword == "host") host = value;
    if (keyword == "port") port = value;
    if (keyword == "dbname") dbname = value;
    if (keyword == "user") user = value;
  }
  PQconninfoFree(options);
  return "[VarnelRemote]\nHost=" + host + "\nPort=" + port + "\nDatabase=" + dbname +
         "\nUser=" + user + "\n";
}

void AddTestDocs(TAceConnection& db, int n) {
  db.BeginTransaction();
  for (int i = 1; i <= n; ++i)
    db.ExecSQL("INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES (:Id, :Name)",
               {{"Id", "D" + std::to_string(i)}, {"Name", "C:\\DOCS\\" + std::to_string(i)}});
  db.Commit();
}

std::string QueryOne(TAceConnection& db, const std::string& sql, const TAceParams& params) {
  auto rows = db.OpenQuery(sql, params);
  return rows->Eof() ? "<none>" : rows->FieldIsNull(0) ? "<NULL>" : rows->FieldText(0);
}
