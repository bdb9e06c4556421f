// The database engine client library: what the connection, table and query components are
// built on. Two implementations stand in for the original engine: the local server on SQLite
// (platform/engine/sqlite) and the remote server on PostgreSQL (platform/engine/postgres), the
// driver (platform/engine/driver) choosing by the installation's engine settings; tests may
// substitute another, for instance to report a different engine version.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class TAdsServerType { stADS_LOCAL, stADS_REMOTE };

// The engine's settings file beside the program: its server type, and the remote server's
// section (platform/engine/postgres/RemoteServerSettings.h).
inline constexpr const char* EngineSettingsFile = "ads.ini";

struct TAceVersion {
  uint32_t Major = 0;
  uint32_t Minor = 0;
  char Letter = ' ';
};

struct TAceTableOptions {
  bool Exclusive = false;
  bool ReadOnly = false;
  bool RightsChecking = true;
  std::string IndexName;  // empty: natural record order
};

using TAceParams = std::vector<std::pair<std::string, std::string>>;  // name (no colon), value

// The journal a table cursor writes beside its posts: a table of its user's in the same
// database, which the user names and creates before the first journalled post; its six text
// columns, named by the user, in this order: the run, the table, the record's RECID, the field,
// the value the cursor read (NULL for NULL) and the value posted. While a cursor journals, each
// of its posts writes one row per changed field, in the same transaction as the record, so a
// crash leaves both or neither; a post refused (another station's change) writes no row.
struct TAceJournalTable {
  std::string Name;
  std::string Columns;  // the six column names, separated by commas, in the order above
};
struct TAcePostJournal {
  std::string RunId;
  std::string TableName;  // as written into the rows, e.g. "Docs"
  TAceJournalTable Into;
};

// What NextRefused found.
enum class TAceRevisit {
  Done,     // no refused post is left
  Changed,  // positioned on a record another station changed: read again, as stored now
  Deleted,  // a record another station deleted
};

// One open table or query result, positioned on one record. Every failure raises
// EADSDatabaseError.
class TAceCursor {
 public:
  virtual ~TAceCursor() = default;
  virtual const std::vector<std::string>& FieldNames() const = 0;
  virtual bool Eof() const = 0;
  virtual void First() = 0;
  virtual void Next() = 0;
  // NULL reads as empty text.
  virtual const std::string& FieldText(size_t field) const = 0;
  virtual bool FieldIsNull(size_t field) const = 0;
  // Writes the given fields of the current record; the others stay exactly as stored. A table
  // posts only while each changed field still holds the value this cursor read: when another
  // station changed it meanwhile, nothing is written and EADSDatabaseError AdsErrRecordChanged
  // is raised (Refresh then reads the record as it is now).
  virtual void Post(const std::vector<std::pair<size_t, std::string>>& changes) = 0;
  // Reads the current record again as stored now; false when another station deleted it.
  virtual bool Refresh() { return !Eof(); }
  // Commits what this cursor posted; EADSDatabaseError when the commit fails (the message says
  // how many posts were rolled back). A cursor destroyed without Close rolls its uncommitted
  // posts back.
  virtual void Close() {}
  // How many of this cursor's posts are committed: a post counts once its group commits.
  virtual int64_t CommittedPosts() const { return 0; }
  virtual int64_t RecordCount() = 0;
  // Positions on the first record whose active index key equals key; false when none does.
  virtual bool Seek(const std::string& key) = 0;
  // How many characters the field can hold, when the engine enforces a width; none otherwise
  // (the local server stores text of any length).
  virtual std::optional<size_t> FieldWidth(size_t field) const {
    (void)field;
    return std::nullopt;
  }
  // Journals every later post of this table cursor (see TAcePostJournal). Query cursors and
  // engines without a journal raise EADSDatabaseError.
  virtual void JournalPosts(const TAcePostJournal& journal);
  // An engine that sends posts in groups learns of a refused post (another station changed or
  // deleted the record meanwhile) only when its group is sent, after Post returned. Such a
  // cursor keeps the refused posts: NextRefused sends the posts still queued, then hands over
  // the refused records one at a time, positioned on the record read again (Changed: post
  // again or leave it) or telling it is gone (Deleted); Done when none is left. A record
  // refused over and over raises EADSDatabaseError AdsErrRecordChanged. Engines that refuse a
  // post at once (in Post) have none.
  virtual TAceRevisit NextRefused() { return TAceRevisit::Done; }
};

// A lock kept on the database server (TAceConnection::TryServerLock), held while this object
// lives and released when it goes.
class TAceServerLock {
 public:
  virtual ~TAceServerLock() = default;
};

class TAceConnection {
 public:
  virtual ~TAceConnection() = default;
  // "Local", "Remote" or "Internet".
  virtual std::string ConnectionType() const = 0;
  virtual std::unique_ptr<TAceCursor> OpenTable(const std::string& tableName,
                                                const TAceTableOptions& options) = 0;
  virtual std::unique_ptr<TAceCursor> OpenQuery(const std::string& sql,
                                                const TAceParams& params) = 0;
  // Runs a statement that returns no rows; the number of rows changed.
  virtual int64_t ExecSQL(const std::string& sql, const TAceParams& params) = 0;
  // Closes tables the connection keeps cached.
  virtual void CloseCachedTables() = 0;
  // An explicit transaction around many statements (bulk loads). Posts inside it are committed
  // only by Commit; without one, the engine groups posts on its own. Engines without
  // transactions ignore these calls.
  virtual void BeginTransaction() {}
  virtual void Commit() {}
  virtual void Rollback() {}
  // The other stations at work on this database: with the local server those holding the named
  // table open, with a remote server those connected to the database (each once, whatever
  // sessions it holds). Counted without disturbing them; none when the engine cannot tell.
  virtual std::optional<int> OtherStations(const std::string& lockTableName) {
    (void)lockTableName;
    return std::nullopt;
  }
  // A lock on the database itself, kept by the server for this connection's own session:
  // while the returned object lives, no other session of the same database (any station,
  // whatever folder or server address it connected with) and no other lock object of this
  // connection gets a lock of that name; other databases on the server are not concerned.
  // Never waits: nullptr when the lock is held elsewhere. The server drops it when the session
  // ends in any way, so a station that dies leaves no stale lock; the object may outlive its
  // connection and then releases nothing. EADSDatabaseError when the server cannot be asked,
  // and AdsErrNoServerLocks from engines without a server (the local server keeps its locks in
  // files beside the database).
  virtual std::unique_ptr<TAceServerLock> TryServerLock(const std::string& name);
  // The database and the server this connection works on, for messages ("database crm on
  // db.example.lan:5432"); empty for an engine without a server.
  virtual std::string ServerDatabase() const { return {}; }
};

class TAceDriver {
 public:
  virtual ~TAceDriver() = default;
  // Opens the database in the folder path; EADSDatabaseError when it cannot.
  virtual std::unique_ptr<TAceConnection> Connect(const std::string& path,
                                                  TAdsServerType serverType) = 0;
  // The engine library's version; EADSDatabaseError when the engine cannot tell.
  virtual TAceVersion Version() = 0;
};
