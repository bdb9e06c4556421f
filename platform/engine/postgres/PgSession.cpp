#include "platform/engine/postgres/PgSession.h"

#include "platform/engine/postgres/PgTableCursor.h"

TPgSession::~TPgSession() {
  PQfinish(conn_);
}

const std::string& TPgSession::Prepared(const std::string& sql, const std::string& what,
                                        const std::string& table) {
  auto it = prepared_.find(sql);
  if (it == prepared_.end()) {
    if (prepared_.size() >= kPreparedKept) {
      PgExec(conn_, "DEALLOCATE ALL", {}, what, table);
      prepared_.clear();
    }
    const std::string name = "vrl_" + std::to_string(++preparedCount_);
    PgPrepare(conn_, name, sql, what, table);
    it = prepared_.emplace(sql, name).first;
  }
  return it->second;
}

void TPgSession::Send(const std::string& sql, const TPgParams& values, const std::string& what,
                      const std::string& table, TPgTableCursor* owner) {
  Settle();
  PgSendPrepared(conn_, Prepared(sql, what, table), values, what, table);
  busy_ = owner;
}

TPgResult TPgSession::Collect(const std::string& what, const std::string& table) {
  busy_ = nullptr;
  return PgCollect(conn_, what, table);
}

void TPgSession::Settle() {
  if (busy_) busy_->Collect(this);
}
