// One open database file. Besides the engine operations it keeps the posting transaction: posts
// of every table are grouped into one SQLite transaction, committed every few thousand posts or
// a fraction of a second, when a table closes, before a query or statement runs and before any
// error is raised, so a posted record survives a later failure and a crash loses at most the
// uncommitted posts (never a half-written record). Each table keeps a tally of its posts: they
// count as committed only once their group commits; a group SQLite rolls back (a failed commit,
// a trigger's RAISE(ROLLBACK), a full disk) is named in the error with the number of posts lost.
//
// In a WAL database the committed pages are copied into the database file by a checkpointer of
// the connection's own (SqliteCheckpointer.h) beside the posts, instead of by the posting thread.
//
// Other stations get their turn: after a group commit at most every kYieldInterval the
// connection pauses briefly before taking the write lock again, and while waiting for a lock it
// retries every millisecond, so a station's single save slips in between two groups.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/engine/sqlite/SqliteCheckpointer.h"
#include "platform/engine/sqlite/SqliteSupport.h"

// The posts of one table: in the open group, committed, rolled back.
struct TSqlitePostTally {
  int64_t Pending = 0;
  int64_t Committed = 0;
  int64_t Lost = 0;
};

// Rows a cursor holds back inside the posting group, to insert them in batches: written just
// before the group commits, forgotten when it rolls back.
class TSqliteGroupRows {
 public:
  virtual ~TSqliteGroupRows() = default;
  // Inserts the held rows; EADSDatabaseError when that fails.
  virtual void WriteHeld() = 0;
  virtual void DropHeld() noexcept = 0;
};

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

  // For a WAL database: once a commit leaves kCheckpointFrames pages in the WAL, they are
  // copied into the database file in the background.
  void CheckpointInBackground();

  sqlite3* Db() const { return db_; }
  const std::string& File() const { return file_; }

  // For the cursors: open the posting transaction before a post, count it in the table's tally
  // after.
  void BeforePost();
  void AfterPost(TSqlitePostTally& tally);
  // After a failed statement: when SQLite rolled the posting transaction back, the group is
  // lost; the error then says how many posts went with it.
  EADSDatabaseError NoteRolledBack(EADSDatabaseError error);
  // Commits the grouped posts when they are due (also called while reading), then gives
  // waiting writers of other stations their turn.
  void CommitIfDue();
  // Commits the grouped posts now; EADSDatabaseError when the commit fails (then nothing of it
  // stays, and the message says how many posts were rolled back).
  void CommitPending();
  // Rolls the grouped posts back; the number of posts lost.
  int64_t RollbackPending() noexcept;
  // A table closing stops being counted.
  void Forget(TSqlitePostTally& tally) noexcept;
  // Whether posts go into the posting group (not into an explicit transaction).
  bool Grouping() const { return groupOpen_; }
  // Rows held for the open group (see TSqliteGroupRows); ForgetRows before they go away.
  void HoldRows(TSqliteGroupRows& rows);
  void ForgetRows(TSqliteGroupRows& rows) noexcept;
  // Commits the grouped posts, then raises the error (with the commit's failure, if any).
  [[noreturn]] void Raise(const EADSDatabaseError& error);

  // The table's stored name and its columns in order; EADSDatabaseError (AdsErrNoTable) when
  // the database has no table of that name (without case, without the ".adt" extension).
  std::string ResolveTable(const std::string& tableName, std::vector<std::string>& columns);
  // The columns of the named index of the table (index "PRIMARY" is the index <table>_PRIMARY).
  std::vector<std::string> IndexColumns(const std::string& table, const std::string& indexName);

 private:
  // Commits the open transaction; on failure rolls it back and raises.
  void CommitOrRollBack(const char* failure);
  // The group ended: its posts move to committed or lost (and rows still held are forgotten);
  // the number moved.
  int64_t SettleGroup(bool committed) noexcept;
  static int WaitForLock(void* self, int attempt);
  static int AfterWalCommit(void* self, sqlite3* db, const char* name, int frames);

  static constexpr int kPostsPerCommit = 4096;
  static constexpr std::chrono::milliseconds kCommitInterval{250};
  static constexpr std::chrono::milliseconds kYieldInterval{200};
  static constexpr std::chrono::milliseconds kYieldPause{4};
  static constexpr std::chrono::milliseconds kBusyTimeout{8000};
  static constexpr int kCheckpointFrames = 4096;
  // Without the checkpointer, the posting thread checkpoints itself this often.
  static constexpr int kOwnCheckpointFrames = 16384;

  sqlite3* db_;
  std::string file_;
  bool groupOpen_ = false;  // the posting transaction is open
  bool explicitOpen_ = false;
  int posts_ = 0;
  std::chrono::steady_clock::time_point groupStarted_;
  std::chrono::steady_clock::time_point lastYield_;
  std::chrono::steady_clock::time_point waitStarted_;
  std::vector<TSqlitePostTally*> tallies_;  // tables with posts in the open group
  std::vector<TSqliteGroupRows*> held_;     // rows to write before the open group commits
  std::map<std::string, TSqliteStatement> execCache_;
  std::unique_ptr<TSqliteCheckpointer> checkpointer_;  // started by the first checkpoint due
};
