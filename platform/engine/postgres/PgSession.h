// One session with the server that statements go through: the connection's own, or one of the
// extra sessions it writes groups of posts through (PgConnection.h). It prepares the engine's
// repeated statements once, and holds at most one statement sent without waiting, whose owner
// takes its result.
#pragma once

#include <libpq-fe.h>

#include <string>
#include <unordered_map>

#include "platform/engine/postgres/PgSupport.h"

class TPgTableCursor;

class TPgSession {
 public:
  // Takes over the open session.
  explicit TPgSession(PGconn* conn) : conn_(conn) {}
  ~TPgSession();
  TPgSession(const TPgSession&) = delete;
  TPgSession& operator=(const TPgSession&) = delete;

  PGconn* Conn() const { return conn_; }
  // Sends one of the engine's own statements that repeat (batch reads, group posts), prepared
  // on its first use in the session, without waiting: until its owner takes the result
  // (Collect), the session is busy, and any other statement of the session first has the owner
  // take it. Raises when it cannot be sent.
  void Send(const std::string& sql, const TPgParams& values, const std::string& what,
            const std::string& table, TPgTableCursor* owner);
  // The result of the statement sent; raises as PgExec does.
  TPgResult Collect(const std::string& what, const std::string& table);
  // Has the owner of the statement sent take its result (raises its failure).
  void Settle();

 private:
  // The name of the statement, prepared in the session on its first use.
  const std::string& Prepared(const std::string& sql, const std::string& what,
                              const std::string& table);

  PGconn* conn_;
  TPgTableCursor* busy_ = nullptr;  // owns the statement sent without waiting
  static constexpr size_t kPreparedKept = 128;
  std::unordered_map<std::string, std::string> prepared_;  // statement text -> its name
  int64_t preparedCount_ = 0;
};
