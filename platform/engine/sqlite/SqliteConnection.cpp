#include "platform/engine/sqlite/SqliteConnection.h"

#include "platform/engine/sqlite/SqliteQueryCursor.h"
#include "platform/engine/sqlite/SqliteTableCursor.h"
#include "platform/engine/sqlite/SqliteTableLock.h"

TSqliteConnection::TSqliteConnection(sqlite3* db, std::string file)
    : db_(db), file_(std::move(file)) {}

TSqliteConnection::~TSqliteConnection() {
  try {
    CommitPending();
  } catch (...) {
    // closing must not raise; the posts of a failed commit are rolled back
  }
  execCache_.clear();
  sqlite3_close_v2(db_);
}

std::unique_ptr<TAceCursor> TSqliteConnection::OpenTable(const std::string& tableName,
                                                         const TAceTableOptions& options) {
  try {
    return std::make_unique<TSqliteTableCursor>(*this, tableName, options);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

std::unique_ptr<TAceCursor> TSqliteConnection::OpenQuery(const std::string& sql,
                                                         const TAceParams& params) {
  try {
    CommitPending();
    return std::make_unique<TSqliteQueryCursor>(*this, sql, params);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

int64_t TSqliteConnection::ExecSQL(const std::string& sql, const TAceParams& params) {
  try {
    if (!explicitOpen_) CommitPending();
    auto it = execCache_.find(sql);
    if (it == execCache_.end()) {
      if (execCache_.size() >= 32) execCache_.clear();
      it = execCache_.emplace(sql, TSqliteStatement(db_, sql)).first;
    }
    sqlite3_stmt* stmt = it->second.get();
    sqlite3_clear_bindings(stmt);
    BindParams(stmt, params);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
      EADSDatabaseError error = SqliteError(db_, rc, "The statement failed");
      sqlite3_reset(stmt);
      Raise(error);
    }
    sqlite3_reset(stmt);
    return sqlite3_changes64(db_);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

void TSqliteConnection::CloseCachedTables() {
  CommitPending();
}

void TSqliteConnection::BeginTransaction() {
  CommitPending();
  ExecSimple(db_, "BEGIN IMMEDIATE");
  explicitOpen_ = true;
}

void TSqliteConnection::Commit() {
  if (!explicitOpen_) return;
  explicitOpen_ = false;
  CommitOrRollBack("The transaction could not be committed");
}

void TSqliteConnection::CommitOrRollBack(const char* failure) {
  int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    EADSDatabaseError error = SqliteError(db_, rc, failure);
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw error;
  }
}

void TSqliteConnection::Rollback() {
  if (!explicitOpen_) return;
  explicitOpen_ = false;
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::optional<int> TSqliteConnection::OtherStations(const std::string& lockTableName) {
  std::vector<std::string> columns;
  return TSqliteTableLock::OtherHolders(file_, ResolveTable(lockTableName, columns));
}

void TSqliteConnection::BeforePost() {
  if (explicitOpen_ || groupOpen_) return;
  ExecSimple(db_, "BEGIN IMMEDIATE");
  groupOpen_ = true;
  posts_ = 0;
  groupStarted_ = std::chrono::steady_clock::now();
}

void TSqliteConnection::AfterPost() {
  if (!groupOpen_) return;
  ++posts_;
  if (posts_ >= kPostsPerCommit || (posts_ % 32) == 0) CommitIfDue();
}

void TSqliteConnection::CommitIfDue() {
  if (!groupOpen_) return;
  if (posts_ >= kPostsPerCommit ||
      std::chrono::steady_clock::now() - groupStarted_ >= kCommitInterval)
    CommitPending();
}

void TSqliteConnection::CommitPending() {
  if (!groupOpen_) return;
  groupOpen_ = false;
  CommitOrRollBack("The posted records could not be committed");
}

void TSqliteConnection::Raise(const EADSDatabaseError& error) {
  try {
    CommitPending();
  } catch (...) {
    // the original error is the one to report
  }
  throw error;
}

std::string TSqliteConnection::ResolveTable(const std::string& tableName,
                                            std::vector<std::string>& columns) {
  std::string name = tableName;
  if (name.size() > 4 && SameText(name.c_str() + name.size() - 4, ".adt"))
    name.resize(name.size() - 4);
  TSqliteStatement find(db_,
                        "SELECT name FROM sqlite_schema WHERE type = 'table' AND name = ?1 "
                        "COLLATE NOCASE");
  sqlite3_bind_text(find.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
  int rc = sqlite3_step(find.get());
  if (rc != SQLITE_ROW) {
    if (rc != SQLITE_DONE) throw SqliteError(db_, rc, "The table list cannot be read", tableName);
    throw EADSDatabaseError("Table not found: " + tableName + " (database " + file_ + ")",
                            AdsErrNoTable, 0, tableName);
  }
  std::string stored = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
  TSqliteStatement info(db_, "SELECT name FROM pragma_table_info(?1)");
  sqlite3_bind_text(info.get(), 1, stored.c_str(), -1, SQLITE_TRANSIENT);
  columns.clear();
  while ((rc = sqlite3_step(info.get())) == SQLITE_ROW)
    columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)));
  if (rc != SQLITE_DONE) throw SqliteError(db_, rc, "The columns cannot be read", tableName);
  return stored;
}

std::vector<std::string> TSqliteConnection::IndexColumns(const std::string& table,
                                                         const std::string& indexName) {
  TSqliteStatement find(db_,
                        "SELECT name FROM sqlite_schema WHERE type = 'index' AND "
                        "tbl_name = ?1 AND (name = ?2 COLLATE NOCASE OR name = ?1 || '_' || ?2 "
                        "COLLATE NOCASE)");
  sqlite3_bind_text(find.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(find.get(), 2, indexName.c_str(), -1, SQLITE_TRANSIENT);
  std::vector<std::string> columns;
  if (sqlite3_step(find.get()) == SQLITE_ROW) {
    std::string index = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
    TSqliteStatement info(db_, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno");
    sqlite3_bind_text(info.get(), 1, index.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(info.get()) == SQLITE_ROW)
      columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)));
  }
  if (columns.empty())
    throw EADSDatabaseError("Index not found: " + indexName + " on table " + table, AdsErrNoIndex,
                            0, table);
  return columns;
}
