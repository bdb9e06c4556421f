#include "platform/engine/sqlite/SqliteAceDriver.h"

#include <sqlite3.h>

#include <filesystem>

#include "platform/engine/sqlite/SqliteConnection.h"
#include "platform/engine/sqlite/SqliteSupport.h"

namespace {

namespace fs = std::filesystem;

class TSqliteAceDriver : public TAceDriver {
 public:
  std::unique_ptr<TAceConnection> Connect(const std::string& path,
                                          TAdsServerType serverType) override;
  // The client interface level this engine implements.
  TAceVersion Version() override { return TAceVersion{11, 10, ' '}; }
};

std::string DatabaseFile(const std::string& folder) {
  return (fs::path(folder) / SqliteDatabaseFileName).string();
}

std::unique_ptr<TAceConnection> TSqliteAceDriver::Connect(const std::string& path,
                                                          TAdsServerType serverType) {
  if (serverType == TAdsServerType::stADS_REMOTE)
    throw EADSDatabaseError(
        "The remote database server cannot be reached: this installation has no remote "
        "database engine (" +
            path + ")",
        AdsErrNoRemoteServer);
  if (path.empty()) throw EADSDatabaseError("No database folder is set", AdsErrNoDatabaseFolder);
  std::error_code error;
  if (!fs::is_directory(path, error))
    throw EADSDatabaseError("Database folder not found: " + path, AdsErrNoDatabaseFolder);
  std::string file = DatabaseFile(path);
  if (!fs::exists(file, error))
    throw EADSDatabaseError("Database file not found: " + file, AdsErrNoDatabaseFile);

  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    EADSDatabaseError failure = SqliteError(db, rc, "Database file cannot be opened: " + file);
    sqlite3_close_v2(db);
    throw failure;
  }
  auto connection = std::make_unique<TSqliteConnection>(db, file);
  sqlite3_extended_result_codes(db, 1);
  try {
    // Reading the journal mode reads the file's header: a file that is no database fails here.
    TSqliteStatement mode(db, "PRAGMA journal_mode");
    rc = sqlite3_step(mode.get());
    if (rc != SQLITE_ROW) throw SqliteError(db, rc, "Database file cannot be read: " + file);
    bool wal = SameText(reinterpret_cast<const char*>(sqlite3_column_text(mode.get(), 0)), "wal");
    mode = TSqliteStatement();
    // The journal mode is the database's own: connecting never changes it (a rollback journal
    // stays one, and a run that writes nothing leaves the file untouched). Only WAL is safe
    // with the lighter synchronisation.
    if (wal) {
      ExecSimple(db, "PRAGMA synchronous=NORMAL");
      connection->CheckpointInBackground();
    }
  } catch (const EADSDatabaseError& e) {
    throw EADSDatabaseError("Database file cannot be read: " + file + " (" + e.Message() + ")",
                            AdsErrUnreadableDatabase, e.SQLErrorCode);
  }
  return connection;
}

}  // namespace

std::unique_ptr<TAceDriver> CreateSqliteAceDriver() {
  // SQLite's memory statistics take a process-wide lock on every allocation, and a post
  // allocates several times: without them the replace runs about a seventh faster. The setting
  // only applies before SQLite's first use; later it is refused, harmlessly.
  static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  (void)configured;
  return std::make_unique<TSqliteAceDriver>();
}

void CreateSqliteDatabase(const std::string& folder, const std::string& schemaSql) {
  std::string file = DatabaseFile(folder);
  std::error_code error;
  if (fs::exists(file, error))
    throw EADSDatabaseError("A database already exists: " + file, AdsErrDatabaseExists);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  try {
    if (rc != SQLITE_OK) throw SqliteError(db, rc, "The database cannot be created: " + file);
    ExecSimple(db, "PRAGMA journal_mode=WAL");
    rc = sqlite3_exec(db, schemaSql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw SqliteError(db, rc, "The schema cannot be created in " + file);
  } catch (...) {
    sqlite3_close_v2(db);
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(file + suffix, error);
    throw;
  }
  sqlite3_close_v2(db);
}
