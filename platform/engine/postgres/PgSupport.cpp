#include "platform/engine/postgres/PgSupport.h"

#include <cstring>

#include "platform/engine/common/EngineText.h"

namespace {
bool Starts(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}
}  // namespace

uint32_t PgEngineCode(const std::string& sqlState) {
  if (Starts(sqlState, "08") || Starts(sqlState, "57P")) return AdsErrServerUnreachable;
  if (Starts(sqlState, "28")) return AdsErrLoginRefused;
  if (sqlState == "3D000") return AdsErrNoServerDatabase;
  if (sqlState == "42P01") return AdsErrNoTable;
  if (sqlState == "22001") return AdsErrValueTooLong;
  if (Starts(sqlState, "22") || Starts(sqlState, "23")) return AdsErrWriteRefused;
  if (sqlState == "40001" || sqlState == "40P01" || sqlState == "55P03") return AdsErrBusy;
  if (Starts(sqlState, "53") || Starts(sqlState, "58")) return AdsErrIo;
  if (sqlState == "25006") return AdsErrReadOnly;
  return AdsErrSql;
}

EADSDatabaseError PgError(PGconn* conn, const PGresult* result, const std::string& what,
                          const std::string& table) {
  std::string message = result ? PQresultErrorMessage(result) : "";
  if (message.empty() && conn) message = PQerrorMessage(conn);
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  std::string sqlState = state ? state : "";
  uint32_t code = PgEngineCode(sqlState);
  // An error without a SQLSTATE is the client library's own: when a statement went out on a
  // connection the server had already closed, libpq says so without marking the connection
  // broken until it next reads.
  if (conn && sqlState.empty() && PQstatus(conn) == CONNECTION_OK) PQconsumeInput(conn);
  if (conn && PQstatus(conn) == CONNECTION_BAD) code = AdsErrServerUnreachable;
  if (message.empty()) message = "no answer from the server";
  if (!sqlState.empty()) message += " (SQLSTATE " + sqlState + ")";
  return EADSDatabaseError(what + ": " + message, code, 0, table);
}

EADSDatabaseError PgConnectError(const std::string& where, const std::string& message) {
  std::string text = message;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  uint32_t code = AdsErrServerUnreachable;
  if (Contains(text, "database \"") && Contains(text, "does not exist"))
    code = AdsErrNoServerDatabase;
  else if (Contains(text, "authentication failed") || Contains(text, "role \"") ||
           Contains(text, "no password supplied") || Contains(text, "pg_hba.conf"))
    code = AdsErrLoginRefused;
  return EADSDatabaseError(
      "The remote database server refused the connection (" + where + "): " + text, code);
}

TPgArrayParam::TPgArrayParam(uint32_t elementType) {
  // dimensions, has-nulls flag, element type, then the one dimension's length and lower bound
  for (uint32_t word : {1u, 0u, elementType, 0u, 1u})
    for (int shift = 24; shift >= 0; shift -= 8) bytes_ += static_cast<char>(word >> shift);
}

void TPgArrayParam::AddLength(int32_t length) {
  const auto word = static_cast<uint32_t>(length);
  for (int shift = 24; shift >= 0; shift -= 8) bytes_ += static_cast<char>(word >> shift);
  ++count_;
}

void TPgArrayParam::AddBigint(int64_t value) {
  AddLength(8);
  const auto word = static_cast<uint64_t>(value);
  for (int shift = 56; shift >= 0; shift -= 8) bytes_ += static_cast<char>(word >> shift);
}

void TPgArrayParam::AddText(const std::string* value) {
  if (!value) {
    nulls_ = true;
    AddLength(-1);
    return;
  }
  AddLength(static_cast<int32_t>(value->size()));
  bytes_ += *value;
}

const std::string& TPgArrayParam::Bytes() {
  auto patch = [&](size_t at, uint32_t word) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<char>(word >> (24 - 8 * i));
  };
  patch(4, nulls_ ? 1 : 0);
  patch(12, count_);
  return bytes_;
}

void TPgParams::AddText(const char* value) {
  Values.push_back(value);
  Lengths.push_back(0);
  Formats.push_back(0);
}

void TPgParams::AddBinary(const std::string& bytes) {
  Values.push_back(bytes.data());
  Lengths.push_back(static_cast<int>(bytes.size()));
  Formats.push_back(1);
}

std::string NotWrittenText(const EADSDatabaseError& error, int64_t lost, int64_t unanswered) {
  if (error.ACEErrorCode != AdsErrServerUnreachable || unanswered == 0) return RolledBackText(lost);
  std::string text = " (the connection was lost before the server answered for " +
                     std::to_string(unanswered) +
                     (unanswered == 1 ? " posted record" : " posted records") +
                     ": they may or may not have been written";
  if (lost > unanswered) text += "; " + std::to_string(lost - unanswered) + " more were not sent";
  return text + ")";
}

std::string ConninfoValue(const std::string& value) {
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

namespace {

TPgResult Checked(PGconn* conn, TPgResult result, const std::string& what,
                  const std::string& table) {
  ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    throw PgError(conn, result.get(), what, table);
  return result;
}

}  // namespace

TPgResult PgExec(PGconn* conn, const std::string& sql, const std::vector<const char*>& values,
                 const std::string& what, const std::string& table) {
  return Checked(
      conn,
      TPgResult(values.empty() ? PQexec(conn, sql.c_str())
                               : PQexecParams(conn, sql.c_str(), static_cast<int>(values.size()),
                                              nullptr, values.data(), nullptr, nullptr, 0)),
      what, table);
}

void PgPrepare(PGconn* conn, const std::string& name, const std::string& sql,
               const std::string& what, const std::string& table) {
  Checked(conn, TPgResult(PQprepare(conn, name.c_str(), sql.c_str(), 0, nullptr)), what, table);
}

void PgSendPrepared(PGconn* conn, const std::string& name, const TPgParams& params,
                    const std::string& what, const std::string& table) {
  if (!PQsendQueryPrepared(conn, name.c_str(), static_cast<int>(params.Values.size()),
                           params.Values.data(), params.Lengths.data(), params.Formats.data(), 0))
    throw PgError(conn, nullptr, what, table);
}

TPgResult PgCollect(PGconn* conn, const std::string& what, const std::string& table) {
  // Every result of the statement is read, so the connection is free again even on failure.
  TPgResult kept;
  while (PGresult* next = PQgetResult(conn)) {
    TPgResult result(next);
    if (!kept || PQresultStatus(kept.get()) == PGRES_COMMAND_OK ||
        PQresultStatus(kept.get()) == PGRES_TUPLES_OK)
      kept = std::move(result);
  }
  return Checked(conn, std::move(kept), what, table);
}

PGconn* PgOpenSession(const std::string& conninfo, const std::string& where,
                      const std::string& station) {
  // The conninfo is expanded in place of the first keyword; the station name after it wins
  // over any application name the conninfo or the environment gives.
  const char* keywords[] = {"dbname", "application_name", nullptr};
  const char* values[] = {conninfo.c_str(), station.c_str(), nullptr};
  PGconn* conn = PQconnectdbParams(keywords, values, 1);
  if (!conn) throw PgConnectError(where, "out of memory");
  try {
    if (PQstatus(conn) != CONNECTION_OK) throw PgConnectError(where, PQerrorMessage(conn));
    // Text is stored and compared byte for byte as UTF-8, whatever the station's locale says.
    // A row another station keeps locked is waited for as long as the local server waits for
    // its write lock, then the statement fails as busy (55P03) instead of hanging the pass.
    PgExec(conn, "SET client_encoding = 'UTF8'; SET lock_timeout = '8s'", {},
           "The session could not be set up");
  } catch (...) {
    PQfinish(conn);
    throw;
  }
  return conn;
}
