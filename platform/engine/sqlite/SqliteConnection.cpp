#include "platform/engine/sqlite/SqliteConnection.h"

#include <algorithm>
#include <iostream>
#include <thread>

#include "platform/engine/sqlite/SqliteQueryCursor.h"
#include "platform/engine/sqlite/SqliteTableCursor.h"
#include "platform/engine/sqlite/SqliteTableLock.h"

TSqliteConnection::TSqliteConnection(sqlite3* db, std::string file)
    : db_(db), file_(std::move(file)) {
  sqlite3_busy_handler(db_, &TSqliteConnection::WaitForLock, this);
}

TSqliteConnection::~TSqliteConnection() {
  // Work nobody committed is not pretended to be done: it is rolled back and said so.
  bool pending = groupOpen_ || explicitOpen_;
  int64_t lost = RollbackPending();
  if (explicitOpen_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  if (pending)
    std::clog << "Database engine: " << file_ << " closed with uncommitted work;"
              << RolledBackText(lost) << std::endl;
  execCache_.clear();
  checkpointer_.reset();
  sqlite3_close_v2(db_);
}

void TSqliteConnection::CheckpointInBackground() {
  sqlite3_wal_hook(db_, &TSqliteConnection::AfterWalCommit, this);
}

int TSqliteConnection::AfterWalCommit(void* self, sqlite3* db, const char* name, int frames) {
  auto& connection = *static_cast<TSqliteConnection*>(self);
  if (frames < kCheckpointFrames) return SQLITE_OK;
  try {
    if (!connection.checkpointer_)
      connection.checkpointer_ = std::make_unique<TSqliteCheckpointer>(connection.file_);
    if (connection.checkpointer_->Request()) return SQLITE_OK;
  } catch (const std::exception&) {
    // no thread for it now: checkpointed here, as SQLite would by itself
  }
  if (frames >= kOwnCheckpointFrames)
    sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
  return SQLITE_OK;
}

int TSqliteConnection::WaitForLock(void* self, int attempt) {
  auto& connection = *static_cast<TSqliteConnection*>(self);
  auto now = std::chrono::steady_clock::now();
  if (attempt == 0) connection.waitStarted_ = now;
  if (now - connection.waitStarted_ >= kBusyTimeout) return 0;
  sqlite3_sleep(1);
  return 1;
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
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw error;
  }
}

int64_t TSqliteConnection::SettleGroup(bool committed) noexcept {
  int64_t moved = 0;
  for (TSqlitePostTally* tally : tallies_) {
    moved += tally->Pending;
    (committed ? tally->Committed : tally->Lost) += tally->Pending;
    tally->Pending = 0;
  }
  tallies_.clear();
  for (TSqliteGroupRows* rows : held_)
    if (!committed) rows->DropHeld();
  held_.clear();
  return moved;
}

void TSqliteConnection::Forget(TSqlitePostTally& tally) noexcept {
  tallies_.erase(std::remove(tallies_.begin(), tallies_.end(), &tally), tallies_.end());
}

void TSqliteConnection::HoldRows(TSqliteGroupRows& rows) {
  if (std::find(held_.begin(), held_.end(), &rows) == held_.end()) held_.push_back(&rows);
}

void TSqliteConnection::ForgetRows(TSqliteGroupRows& rows) noexcept {
  held_.erase(std::remove(held_.begin(), held_.end(), &rows), held_.end());
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

void TSqliteConnection::AfterPost(TSqlitePostTally& tally) {
  if (!groupOpen_) {
    ++tally.Committed;  // inside an explicit transaction the caller commits
    return;
  }
  if (tally.Pending++ == 0) tallies_.push_back(&tally);
  ++posts_;
  if (posts_ >= kPostsPerCommit || (posts_ % 32) == 0) CommitIfDue();
}

EADSDatabaseError TSqliteConnection::NoteRolledBack(EADSDatabaseError error) {
  if (groupOpen_ && sqlite3_get_autocommit(db_)) {
    groupOpen_ = false;
    return Appended(error, RolledBackText(SettleGroup(false)));
  }
  return error;
}

void TSqliteConnection::CommitIfDue() {
  if (!groupOpen_) return;
  auto now = std::chrono::steady_clock::now();
  if (posts_ < kPostsPerCommit && now - groupStarted_ < kCommitInterval) return;
  CommitPending();
  // Without the write lock for a moment, a station waiting for it gets its turn; the pause is
  // taken at most every kYieldInterval so it costs about 2 % of a long replace.
  if (now - lastYield_ >= kYieldInterval) {
    std::this_thread::sleep_for(kYieldPause);
    lastYield_ = std::chrono::steady_clock::now();
  }
}

void TSqliteConnection::CommitPending() {
  if (!groupOpen_) return;
  try {
    for (TSqliteGroupRows* rows : held_) rows->WriteHeld();
  } catch (const EADSDatabaseError& e) {
    throw Appended(e, RolledBackText(RollbackPending()));
  }
  groupOpen_ = false;
  try {
    CommitOrRollBack("The posted records could not be committed");
  } catch (const EADSDatabaseError& e) {
    throw Appended(e, RolledBackText(SettleGroup(false)));
  }
  SettleGroup(true);
}

int64_t TSqliteConnection::RollbackPending() noexcept {
  if (!groupOpen_) return 0;
  groupOpen_ = false;
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return SettleGroup(false);
}

void TSqliteConnection::Raise(const EADSDatabaseError& error) {
  EADSDatabaseError raised = NoteRolledBack(error);
  try {
    CommitPending();
  } catch (const EADSDatabaseError& e) {
    throw Appended(raised, "; " + e.Message());
  }
  throw raised;
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
