// Small pieces the PostgreSQL engine shares: an owned result, engine errors built from the
// server's SQLSTATE and message, and the text forms libpq takes (array literals, conninfo).
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/engine/EADSDatabaseError.h"

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

// One text value as an element of an array literal ("{...}" text form): quoted, with quotes and
// backslashes escaped; a null element is NULL.
void AppendArrayElement(std::string& array, const std::string* value);

// One value of a conninfo string: quoted, with quotes and backslashes escaped.
std::string ConninfoValue(const std::string& value);

// Runs a statement and raises on failure; the result (PGRES_COMMAND_OK or PGRES_TUPLES_OK).
TPgResult PgExec(PGconn* conn, const std::string& sql, const std::vector<const char*>& values,
                 const std::string& what, const std::string& table = {});
// Sends a statement prepared under that name without waiting for its result; raises when it
// cannot be sent.
void PgSendPrepared(PGconn* conn, const std::string& name, const std::vector<const char*>& values,
                    const std::string& what, const std::string& table = {});
// The result of the statement sent, once the server has run it; raises as PgExec does.
TPgResult PgCollect(PGconn* conn, const std::string& what, const std::string& table = {});
// Prepares a statement in the session under that name; raises on failure.
void PgPrepare(PGconn* conn, const std::string& name, const std::string& sql,
               const std::string& what, const std::string& table = {});
// Runs a statement prepared in the session under that name, as PgExec.
TPgResult PgExecPrepared(PGconn* conn, const std::string& name,
                         const std::vector<const char*>& values, const std::string& what,
                         const std::string& table = {});
