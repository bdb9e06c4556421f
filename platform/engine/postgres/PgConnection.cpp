#include "platform/engine/postgres/PgConnection.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "common/SysUtils.h"
#include "platform/engine/common/EngineText.h"
#include "platform/engine/postgres/PgNamedParams.h"
#include "platform/engine/postgres/PgQueryCursor.h"
#include "platform/engine/postgres/PgStation.h"
#include "platform/engine/postgres/PgTableCursor.h"

std::string PgFieldName(const std::string& stored) {
  bool folded = std::none_of(stored.begin(), stored.end(),
                             [](char c) { return std::isupper(static_cast<unsigned char>(c)); });
  return folded ? UpperCase(stored) : stored;
}

namespace {

// A lock the server keeps for the connection's own session (TPgConnection::TryServerLock).
class TPgServerLock : public TAceServerLock {
 public:
  TPgServerLock(std::weak_ptr<TPgConnection*> connection, int64_t key)
      : connection_(std::move(connection)), key_(key) {}
  ~TPgServerLock() override {
    // A connection already gone took its session, and the server the lock, with it.
    if (const auto connection = connection_.lock()) (*connection)->ReleaseServerLock(key_);
  }

 private:
  std::weak_ptr<TPgConnection*> connection_;
  int64_t key_;
};

}  // namespace

TPgConnection::TPgConnection(PGconn* conn, std::string conninfo, std::string where,
                             std::string station)
    : main_(conn),
      conninfo_(std::move(conninfo)),
      where_(std::move(where)),
      station_(std::move(station)),
      self_(std::make_shared<TPgConnection*>(this)) {}

TPgConnection::~TPgConnection() {
  if (explicitOpen_)
    std::clog << "Database engine: " << where_
              << " closed inside a transaction; its work was rolled back" << std::endl;
}

TPgResult TPgConnection::Exec(const std::string& sql, const std::vector<const char*>& values,
                              const std::string& what, const std::string& table) {
  try {
    Settle();
    return PgExec(Conn(), sql, values, what, table);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

TPgResult TPgConnection::ExecPrepared(const std::string& sql, const TPgParams& values,
                                      const std::string& what, const std::string& table) {
  Settle();
  main_.Send(sql, values, what, table, nullptr);
  return main_.Collect(what, table);
}

void TPgConnection::Settle() {
  main_.Settle();
  for (const auto& poster : posters_) poster->Settle();
}

TPgSession& TPgConnection::PostSession() {
  if (!postersTried_) OpenPostSessions();
  if (posters_.empty()) return main_;
  return *posters_[nextPoster_++ % posters_.size()];
}

void TPgConnection::OpenPostSessions() {
  postersTried_ = true;
  try {
    while (posters_.size() < kPostSessions)
      posters_.push_back(std::make_unique<TPgSession>(PgOpenSession(conninfo_, where_, station_)));
  } catch (const EADSDatabaseError& e) {
    posters_.clear();
    std::clog << "Database engine: " << where_
              << " refused the extra sessions that write posts beside the reads; they are "
                 "written through the connection's own session: "
              << e.Message() << std::endl;
  }
}

std::unique_ptr<TAceCursor> TPgConnection::OpenTable(const std::string& tableName,
                                                     const TAceTableOptions& options) {
  try {
    return std::make_unique<TPgTableCursor>(*this, tableName, options);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

std::unique_ptr<TAceCursor> TPgConnection::OpenQuery(const std::string& sql,
                                                     const TAceParams& params) {
  try {
    SendAllPosts();
    return std::make_unique<TPgQueryCursor>(*this, sql, params);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

int64_t TPgConnection::ExecSQL(const std::string& sql, const TAceParams& params) {
  try {
    SendAllPosts();  // every group is answered too: the sessions are free
    const TPgStatementText statement = NumberNamedParams(sql);
    TPgResult result =
        PgExec(Conn(), statement.Sql, ParamValues(statement, params), "The statement failed");
    const char* changed = PQcmdTuples(result.get());
    return changed && *changed ? std::stoll(changed) : 0;
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

void TPgConnection::CloseCachedTables() {
  SendAllPosts();
}

void TPgConnection::BeginTransaction() {
  SendAllPosts();
  Exec("BEGIN", {}, "The transaction could not be started");
  explicitOpen_ = true;
}

void TPgConnection::Commit() {
  if (!explicitOpen_) return;
  try {
    SendAllPosts();
  } catch (...) {
    explicitOpen_ = false;
    PQclear(PQexec(Conn(), "ROLLBACK"));
    throw;
  }
  explicitOpen_ = false;
  Exec("COMMIT", {}, "The transaction could not be committed");
}

void TPgConnection::Rollback() {
  if (!explicitOpen_) return;
  explicitOpen_ = false;
  for (TPgTableCursor* table : tables_) table->DropPosts();
  try {
    Settle();
  } catch (const EADSDatabaseError&) {
    // the rollback below takes back whatever that group did
  }
  PQclear(PQexec(Conn(), "ROLLBACK"));
}

std::optional<int> TPgConnection::OtherStations(const std::string&) {
  // Another login's sessions show their application name but not their backend type: those
  // with a login (usesysid) are client sessions too; the server's own processes have none.
  const std::string prefix = PgStationPrefix;
  TPgResult result = Exec(
      "SELECT count(DISTINCT CASE WHEN left(application_name, length($2)) = $2 THEN "
      "application_name ELSE pid::text END) FROM pg_stat_activity WHERE datname = "
      "current_database() AND pid <> pg_backend_pid() AND application_name IS DISTINCT FROM $1 "
      "AND usesysid IS NOT NULL AND coalesce(backend_type, 'client backend') = 'client backend'",
      {station_.c_str(), prefix.c_str()}, "The other stations cannot be counted");
  return std::stoi(PQgetvalue(result.get(), 0, 0));
}

std::unique_ptr<TAceServerLock> TPgConnection::TryServerLock(const std::string& name) {
  const int64_t key = PgServerLockKey(name);
  if (std::find(serverLocks_.begin(), serverLocks_.end(), key) != serverLocks_.end())
    return nullptr;
  const std::string keyText = std::to_string(key);
  TPgResult result = Exec("SELECT pg_try_advisory_lock($1::bigint)", {keyText.c_str()},
                          "The lock " + name + " cannot be taken on the server");
  if (std::string(PQgetvalue(result.get(), 0, 0)) != "t") return nullptr;
  serverLocks_.push_back(key);
  return std::make_unique<TPgServerLock>(self_, key);
}

void TPgConnection::ReleaseServerLock(int64_t key) noexcept {
  serverLocks_.erase(std::remove(serverLocks_.begin(), serverLocks_.end(), key),
                     serverLocks_.end());
  try {
    const std::string keyText = std::to_string(key);
    Exec("SELECT pg_advisory_unlock($1::bigint)", {keyText.c_str()},
         "A lock cannot be released on the server");
  } catch (const std::exception& e) {
    std::clog << "Database engine: " << where_
              << " keeps a lock of this station until its session ends: " << e.what() << std::endl;
  } catch (...) {
    std::clog << "Database engine: " << where_
              << " keeps a lock of this station until its session ends" << std::endl;
  }
}

std::string TPgConnection::ServerDatabase() const {
  const char* host = PQhost(Conn());
  const char* port = PQport(Conn());
  return std::string("database ") + PQdb(Conn()) + " on " + (host && *host ? host : "localhost") +
         ":" + (port && *port ? port : "5432");
}

TPgTable TPgConnection::ResolveTable(const std::string& tableName) {
  std::string name = tableName;
  if (name.size() > 4 && SameText(name.substr(name.size() - 4), ".adt"))
    name.resize(name.size() - 4);
  TPgResult found = Exec(
      "SELECT c.oid, c.relname FROM pg_class c WHERE c.relkind IN ('r', 'p', 'v') AND "
      "lower(c.relname) = lower($1) AND pg_table_is_visible(c.oid) ORDER BY c.relname = $1 DESC "
      "LIMIT 1",
      {name.c_str()}, "The table list cannot be read", tableName);
  if (PQntuples(found.get()) == 0)
    throw EADSDatabaseError("Table not found: " + tableName + " (database " + where_ + ")",
                            AdsErrNoTable, 0, tableName);
  TPgTable table;
  const std::string oid = PQgetvalue(found.get(), 0, 0);
  table.Stored = PQgetvalue(found.get(), 0, 1);
  TPgResult columns = Exec(
      "SELECT a.attname, format_type(a.atttypid, NULL), t.typcategory = 'S', "
      "CASE WHEN a.atttypid IN ('varchar'::regtype, 'bpchar'::regtype) AND a.atttypmod > 4 "
      "THEN a.atttypmod - 4 END FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid "
      "WHERE a.attrelid = $1 AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
      {oid.c_str()}, "The columns cannot be read", tableName);
  bool rowKey = false;
  for (int r = 0; r < PQntuples(columns.get()); ++r) {
    TPgColumn column;
    column.Stored = PQgetvalue(columns.get(), r, 0);
    if (SameText(column.Stored, PgRowKey)) {
      rowKey = true;
      continue;
    }
    column.Shown = PgFieldName(column.Stored);
    column.Type = PQgetvalue(columns.get(), r, 1);
    column.IsText = *PQgetvalue(columns.get(), r, 2) == 't';
    if (!PQgetisnull(columns.get(), r, 3))
      column.Width = std::stoul(PQgetvalue(columns.get(), r, 3));
    table.Columns.push_back(std::move(column));
  }
  if (!rowKey)
    throw EADSDatabaseError("The table " + table.Stored + " has no " + PgRowKey +
                                " column: it was not created for this engine",
                            AdsErrSql, 0, tableName);
  return table;
}

std::vector<std::string> TPgConnection::IndexColumns(const std::string& table,
                                                     const std::string& indexName) {
  const std::string prefixed = table + "_" + indexName;
  TPgResult rows = Exec(
      "SELECT ic.relname, a.attname FROM pg_index i JOIN pg_class ic ON ic.oid = i.indexrelid "
      "CROSS JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, pos) "
      "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = k.attnum "
      "WHERE i.indrelid = (SELECT c.oid FROM pg_class c WHERE c.relname = $1 AND "
      "pg_table_is_visible(c.oid)) AND lower(ic.relname) IN (lower($2), lower($3)) "
      "ORDER BY ic.relname, k.pos",
      {table.c_str(), indexName.c_str(), prefixed.c_str()}, "The indexes cannot be read", table);
  std::vector<std::string> columns;
  for (int r = 0; r < PQntuples(rows.get()); ++r) {
    if (std::string(PQgetvalue(rows.get(), r, 0)) != PQgetvalue(rows.get(), 0, 0)) break;
    columns.emplace_back(PQgetvalue(rows.get(), r, 1));
  }
  if (columns.empty())
    throw EADSDatabaseError("Index not found: " + indexName + " on table " + table, AdsErrNoIndex,
                            0, table);
  return columns;
}

void TPgConnection::Register(TPgTableCursor* cursor) {
  tables_.push_back(cursor);
}

void TPgConnection::Unregister(TPgTableCursor* cursor) noexcept {
  tables_.erase(std::remove(tables_.begin(), tables_.end(), cursor), tables_.end());
}

void TPgConnection::SendAllPosts() {
  std::exception_ptr failure;
  for (TPgTableCursor* table : tables_) {
    try {
      table->SendPosts();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

void TPgConnection::Raise(const EADSDatabaseError& error) {
  try {
    SendAllPosts();
  } catch (const EADSDatabaseError& e) {
    throw Appended(error, "; " + e.Message());
  }
  throw error;
}
