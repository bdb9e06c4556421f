// Small pieces the SQLite engine stand-in shares: an owned statement, engine errors built from
// SQLite result codes and parameter binding by name.
#pragma once

#include <sqlite3.h>

#include <string>

#include "common/SysUtils.h"
#include "platform/AceDriver.h"
#include "platform/EADSDatabaseError.h"
#include "platform/engine/common/EngineText.h"

// A prepared statement, finalized with its owner.
class TSqliteStatement {
 public:
  TSqliteStatement() = default;
  // EADSDatabaseError (AdsErrSql) when SQLite refuses the text.
  TSqliteStatement(sqlite3* db, const std::string& sql);
  ~TSqliteStatement() { sqlite3_finalize(stmt_); }
  TSqliteStatement(TSqliteStatement&& other) noexcept : stmt_(other.stmt_) {
    other.stmt_ = nullptr;
  }
  TSqliteStatement& operator=(TSqliteStatement&& other) noexcept;
  TSqliteStatement(const TSqliteStatement&) = delete;
  TSqliteStatement& operator=(const TSqliteStatement&) = delete;

  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// The engine error for a failed SQLite call: what failed, SQLite's own message, the engine
// code chosen by the result code and the extended result code as SQL code.
EADSDatabaseError SqliteError(sqlite3* db, int rc, const std::string& what,
                              const std::string& table = {});

// Binds each named parameter of the statement (":Name", matched without case) to the value of
// that name, as a bound value and never spliced into the text. A parameter without a value
// raises EADSDatabaseError (AdsErrParamNotSet) naming it: a forgotten value must not quietly
// match nothing. Values for names the statement does not use are ignored.
void BindParams(sqlite3_stmt* stmt, const TAceParams& params);

// Runs a statement text that returns nothing (pragmas, BEGIN, COMMIT); raises on failure.
void ExecSimple(sqlite3* db, const char* sql);
