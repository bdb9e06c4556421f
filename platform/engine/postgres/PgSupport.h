// Small pieces the PostgreSQL engine shares: an owned result, engine errors built from the
// server's SQLSTATE and message, and the text forms libpq takes (array literals, conninfo).
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/EADSDatabaseError.h"

struct TPgResultFree {
  void operator()(PGresult* result) const { PQclear(result); }
};
using TPgResult = std::unique_ptr<PGresult, TPgResultFree>;

// The engine code for a SQLSTATE: connection (08, 57P0x) AdsErrServerUnreachable, login (28)
// AdsErrLoginRefused, 3D000 AdsErrNoServerDatabase, 42P01 AdsErrNoTable, 22001
// AdsErrValueTooLong, other data errors and constraints (22, 23) AdsErrWriteRefused, locks and
// serialisation (40001, 40P01, 55P03) AdsErrBusy, disk (53, 58) AdsErrIo, the rest AdsErrSql.
uint32_t PgEngineCode(const std::string& sqlState);

// The engine error for a failed statement: what failed, the server's message and SQLSTATE. A
// connection that broke reports AdsErrServerUnreachable whatever the result says.
EADSDatabaseError PgError(PGconn* conn, const PGresult* result, const std::string& what,
                          const std::string& table = {});

// The engine error for a connection that could not be made: libpq's message, the code chosen
// by what the server said (no SQLSTATE reaches the client before the session exists).
EADSDatabaseError PgConnectError(const std::string& where, const std::string& message);

// A one-dimensional array parameter in the server's binary form, built element by element: the
// values go as they are, with no quoting for the server to undo, and bigints as 8 bytes.
class TPgArrayParam {
 public:
  static constexpr uint32_t kBigint = 20;  // the element types' oids
  static constexpr uint32_t kText = 25;
  explicit TPgArrayParam(uint32_t elementType);
  void AddBigint(int64_t value);
  void AddText(const std::string* value);  // nullptr: NULL
  // The parameter's bytes (format 1).
  const std::string& Bytes();

 private:
  void AddLength(int32_t length);
  std::string bytes_;
  uint32_t count_ = 0;
  bool nulls_ = false;
};

// RolledBackText for posts sent in groups when the error is a lost connection: whether the server
// wrote the group it was sent last is not known, so its posts are named as such, not as lost.
std::string NotWrittenText(const EADSDatabaseError& error, int64_t lost, int64_t unanswered);

// One value of a conninfo string: quoted, with quotes and backslashes escaped.
std::string ConninfoValue(const std::string& value);

// The values of a prepared statement's parameters: text (format 0, null-terminated, nullptr
// for NULL) unless given with a length as binary (format 1).
struct TPgParams {
  std::vector<const char*> Values;
  std::vector<int> Lengths;
  std::vector<int> Formats;
  TPgParams() = default;
  TPgParams(const std::vector<const char*>& texts)  // NOLINT: text values convert
      : Values(texts), Lengths(texts.size(), 0), Formats(texts.size(), 0) {}
  void AddText(const char* value);
  void AddBinary(const std::string& bytes);
};

// A session with the server the conninfo names, set up as every session of the engine is, with
// the station name as its application name (PgStation.h) from its first moment; raises
// PgConnectError when it cannot be opened, the statement's error when it cannot be set up.
PGconn* PgOpenSession(const std::string& conninfo, const std::string& where,
                      const std::string& station);

// Runs a statement and raises on failure; the result (PGRES_COMMAND_OK or PGRES_TUPLES_OK).
TPgResult PgExec(PGconn* conn, const std::string& sql, const std::vector<const char*>& values,
                 const std::string& what, const std::string& table = {});
// Sends a statement prepared under that name without waiting for its result; raises when it
// cannot be sent.
void PgSendPrepared(PGconn* conn, const std::string& name, const TPgParams& params,
                    const std::string& what, const std::string& table = {});
// The result of the statement sent, once the server has run it; raises as PgExec does.
TPgResult PgCollect(PGconn* conn, const std::string& what, const std::string& table = {});
// Prepares a statement in the session under that name; raises on failure.
void PgPrepare(PGconn* conn, const std::string& name, const std::string& sql,
               const std::string& what, const std::string& table = {});
