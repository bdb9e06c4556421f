#include "platform/engine/sqlite/SqliteSupport.h"

#include <algorithm>
#include <cctype>

TSqliteStatement::TSqliteStatement(sqlite3* db, const std::string& sql) {
  int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    throw SqliteError(db, rc, "The engine cannot run the statement \"" + sql + "\"");
  }
}

TSqliteStatement& TSqliteStatement::operator=(TSqliteStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = other.stmt_;
    other.stmt_ = nullptr;
  }
  return *this;
}

namespace {
uint32_t EngineCode(int rc) {
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return AdsErrBusy;
    case SQLITE_CONSTRAINT:
      return AdsErrWriteRefused;
    case SQLITE_READONLY:
      return AdsErrReadOnly;
    case SQLITE_IOERR:
    case SQLITE_FULL:
      return AdsErrIo;
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return AdsErrUnreadableDatabase;
    default:
      return AdsErrSql;
  }
}
}  // namespace

EADSDatabaseError SqliteError(sqlite3* db, int rc, const std::string& what,
                              const std::string& table) {
  std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  // A statement naming a table the database lacks fails as a missing table, as on the server.
  const uint32_t code = detail.rfind("no such table", 0) == 0 ? AdsErrNoTable : EngineCode(rc);
  return EADSDatabaseError(what + ": " + detail, code, static_cast<uint32_t>(rc), table);
}

void BindParams(sqlite3_stmt* stmt, const TAceParams& params) {
  int count = sqlite3_bind_parameter_count(stmt);
  for (int i = 1; i <= count; ++i) {
    const char* name = sqlite3_bind_parameter_name(stmt, i);
    if (!name || !*name) continue;
    auto param = std::find_if(params.begin(), params.end(),
                              [&](const auto& p) { return SameText(name + 1, p.first); });
    if (param == params.end())
      throw EADSDatabaseError(std::string("No value for parameter '") + (name + 1) + "'",
                              AdsErrParamNotSet);
    const std::string& value = param->second;
    int rc =
        sqlite3_bind_text(stmt, i, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
      throw SqliteError(sqlite3_db_handle(stmt), rc,
                        std::string("The parameter ") + name + " cannot take its value");
  }
}

void ExecSimple(sqlite3* db, const char* sql) {
  int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) throw SqliteError(db, rc, std::string("The engine could not run ") + sql);
}
