// One connection with the remote database server. Every statement is sent whole with its values
// bound (never spliced into the text). Table cursors queue their posts and send them in
// groups (PgTableCursor.h); before this connection runs any other statement, and before it
// raises an error, it sends every queued group and takes every group's result, so its own
// statements always see its posts and a failure never leaves a post unsent and uncounted.
//
// Groups sent without waiting go through kPostSessions extra sessions of the same login, in
// turn, so the server writes two groups at once while the connection's own session reads on;
// they are opened on first use, and if the server refuses them the groups go through the
// connection's own session instead. Every session of the connection carries its station name
// (PgStation.h), so they are counted as one station, and never as another.
//
// Locks kept on the server (TryServerLock) are session-level advisory locks of the
// connection's own session, which the server keeps per database; the connection remembers the
// ones it holds, since the server would grant its own session the same lock twice.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/engine/postgres/PgSession.h"
#include "platform/engine/postgres/PgSupport.h"

class TPgTableCursor;

// A table's columns as the server keeps them.
struct TPgColumn {
  std::string Stored;           // the server's name, e.g. document_name
  std::string Shown;            // the field name, e.g. DOCUMENT_NAME
  std::string Type;             // the type without modifier, e.g. bigint
  bool IsText = false;          // a character type: written without a cast
  std::optional<size_t> Width;  // varchar(n) / char(n): n
};

struct TPgTable {
  std::string Stored;              // the table's name on the server
  std::vector<TPgColumn> Columns;  // without the row key
};

// The hidden column every table of ours carries: an identity standing in for the local server's
// rowid, the natural record order and the key posts are written by.
inline constexpr const char* PgRowKey = "vrl_rowid";

// The name as a field name: a name the server folded to lower case (every unquoted name) is
// shown upper-cased, as the schema declares it; a name with capitals stays as it is.
std::string PgFieldName(const std::string& stored);

class TPgConnection : public TAceConnection {
 public:
  // Takes over the open session; conninfo opens the extra sessions, where names the server in
  // messages, station is the station name the session was opened with.
  TPgConnection(PGconn* conn, std::string conninfo, std::string where, std::string station);
  ~TPgConnection() override;

  std::string ConnectionType() const override { return "Remote"; }
  std::unique_ptr<TAceCursor> OpenTable(const std::string& tableName,
                                        const TAceTableOptions& options) override;
  std::unique_ptr<TAceCursor> OpenQuery(const std::string& sql, const TAceParams& params) override;
  int64_t ExecSQL(const std::string& sql, const TAceParams& params) override;
  void CloseCachedTables() override;
  void BeginTransaction() override;
  void Commit() override;
  void Rollback() override;
  // The other stations connected to this database (the lock table plays no part): the
  // sessions of this engine counted once per station name, every other client session as a
  // station of its own (nothing tells which of them belong together), of any login.
  std::optional<int> OtherStations(const std::string& lockTableName) override;
  std::unique_ptr<TAceServerLock> TryServerLock(const std::string& name) override;
  std::string ServerDatabase() const override;
  // Releases a lock TryServerLock took (its lock object's end); a failure is said on the log,
  // and the server then keeps the lock until the session ends.
  void ReleaseServerLock(int64_t key) noexcept;

  PGconn* Conn() const { return main_.Conn(); }
  const std::string& Where() const { return where_; }
  bool InTransaction() const { return explicitOpen_; }

  // Runs a statement; raises (after sending the queued posts) on failure.
  TPgResult Exec(const std::string& sql, const std::vector<const char*>& values,
                 const std::string& what, const std::string& table = {});
  // Runs one of the engine's own statements that repeat (batch reads, group posts) on the
  // connection's own session (TPgSession::Send) once every group has been answered. Raises the
  // plain error, as PgExec does, without sending the queued posts.
  TPgResult ExecPrepared(const std::string& sql, const TPgParams& values, const std::string& what,
                         const std::string& table = {});
  // The table's stored name and columns; AdsErrNoTable when the database has no table of that
  // name (without case, without the ".adt" extension).
  TPgTable ResolveTable(const std::string& tableName);
  // The stored columns of the named index of the table (index "PRIMARY" is <table>_primary).
  std::vector<std::string> IndexColumns(const std::string& table, const std::string& indexName);

  // The connection's own session, for a read that need not wait for the groups on their way.
  TPgSession& Main() { return main_; }
  // The session the next group sent without waiting goes through.
  TPgSession& PostSession();

  // The table cursors with queued posts register while open.
  void Register(TPgTableCursor* cursor);
  void Unregister(TPgTableCursor* cursor) noexcept;
  // Sends every table's queued posts; the first failure is raised after all were tried.
  void SendAllPosts();
  // Sends the queued posts, then raises the error (with a send failure, if any, appended).
  [[noreturn]] void Raise(const EADSDatabaseError& error);

 private:
  static constexpr size_t kPostSessions = 2;
  // Every session's statement sent without waiting is taken by its owner (raises its failure).
  void Settle();
  // Opens the extra sessions; none when the server refuses one (said on the log).
  void OpenPostSessions();

  TPgSession main_;
  std::string conninfo_;
  std::string where_;
  std::string station_;
  std::vector<int64_t> serverLocks_;  // the keys of the server locks held
  // The server locks' way back to their connection: gone with it.
  std::shared_ptr<TPgConnection*> self_;
  bool explicitOpen_ = false;
  std::vector<TPgTableCursor*> tables_;
  std::vector<std::unique_ptr<TPgSession>> posters_;
  bool postersTried_ = false;
  size_t nextPoster_ = 0;
};
