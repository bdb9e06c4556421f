// One open database file. Besides the engine operations it keeps the posting transaction: posts
// of every table are grouped into one SQLite transaction, committed every few thousand posts or
// a fraction of a second, when a table closes, before a query or statement runs and before any
// error is raised, so a posted record survives a later failure and a crash loses at most the
// uncommitted posts (WAL journal: never a half-written record).
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "platform/engine/AceDriver.h"
#include "platform/engine/sqlite/SqliteSupport.h"

class TSqliteConnection : public TAceConnection {
 public:
  // Takes over the open handle.
  TSqliteConnection(sqlite3* db, std::string file);
  ~TSqliteConnection() override;

  std::string ConnectionType() const override { return "Local"; }
  std::unique_ptr<TAceCursor> OpenTable(const std::string& tableName,
                                        const TAceTableOptions& options) override;
  std::unique_ptr<TAceCursor> OpenQuery(const std::string& sql, const TAceParams& params) override;
  int64_t ExecSQL(const std::string& sql, const TAceParams& params) override;
  void CloseCachedTables() override;
  void BeginTransaction() override;
  void Commit() override;
  void Rollback() override;
  // The stations holding the table open through its lock file (SqliteTableLock.h).
  std::optional<int> OtherStations(const std::string& lockTableName) override;

  sqlite3* Db() const { return db_; }
  const std::string& File() const { return file_; }

  // For the cursors: open the posting transaction before a post, count it after.
  void BeforePost();
  void AfterPost();
  // Commits the grouped posts when they are due (also called while reading).
  void CommitIfDue();
  // Commits the grouped posts now; EADSDatabaseError when the commit fails (then nothing of it
  // stays).
  void CommitPending();
  // Commits the grouped posts (ignoring a failure there), then raises the error.
  [[noreturn]] void Raise(const EADSDatabaseError& error);

  // The table's stored name and its columns in order; EADSDatabaseError (AdsErrNoTable) when
  // the database has no table of that name (without case, without the ".adt" extension).
  std::string ResolveTable(const std::string& tableName, std::vector<std::string>& columns);
  // The columns of the named index of the table (index "PRIMARY" is the index <table>_PRIMARY).
  std::vector<std::string> IndexColumns(const std::string& table, const std::string& indexName);

 private:
  // Commits the open transaction; on failure rolls it back and raises.
  void CommitOrRollBack(const char* failure);

  static constexpr int kPostsPerCommit = 4096;
  static constexpr std::chrono::milliseconds kCommitInterval{250};

  sqlite3* db_;
  std::string file_;
  bool groupOpen_ = false;  // the posting transaction is open
  bool explicitOpen_ = false;
  int posts_ = 0;
  std::chrono::steady_clock::time_point groupStarted_;
  std::map<std::string, TSqliteStatement> execCache_;
};
