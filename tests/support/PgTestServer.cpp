#include "tests/support/PgTestServer.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "platform/engine/postgres/PgSupport.h"

namespace {

struct TConnCloser {
  void operator()(PGconn* conn) const { PQfinish(conn); }
};
using TConn = std::unique_ptr<PGconn, TConnCloser>;

TConn Connect(const std::string& conninfo) {
  TConn conn(PQconnectdb(conninfo.c_str()));
  if (!conn || PQstatus(conn.get()) != CONNECTION_OK)
    throw std::runtime_error("cannot connect to the test PostgreSQL server (" + conninfo +
                             "): " + (conn ? PQerrorMessage(conn.get()) : "out of memory"));
  return conn;
}

TPgResult Run(PGconn* conn, const std::string& sql) {
  TPgResult result(PQexec(conn, sql.c_str()));
  const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    throw std::runtime_error("the test PostgreSQL server refused \"" + sql +
                             "\": " + PQerrorMessage(conn));
  return result;
}

}  // namespace

std::string PgTestConninfo() {
  const char* conninfo = std::getenv("VRL_TEST_PG");
  if (!conninfo || !*conninfo)
    throw std::runtime_error(
        "This test needs the throwaway PostgreSQL server, but VRL_TEST_PG is not set: run it "
        "through ctest (the PgCluster fixture starts the server), or start one with "
        "scripts/pg-test-cluster.sh start DIR and set VRL_TEST_PG to the conninfo it prints");
  return conninfo;
}

std::string PgConninfoWithDatabase(const std::string& conninfo, const std::string& dbName) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
  if (!options) {
    std::string message = error ? error : "out of memory";
    PQfreemem(error);
    throw std::runtime_error("bad test conninfo \"" + conninfo + "\": " + message);
  }
  std::string out;
  for (PQconninfoOption* option = options; option->keyword; ++option) {
    const std::string keyword = option->keyword;
    if (keyword == "dbname" || !option->val) continue;
    out += keyword + "=" + ConninfoValue(option->val) + " ";
  }
  PQconninfoFree(options);
  return out + "dbname=" + ConninfoValue(dbName);
}

void PgTestExec(const std::string& conninfo, const std::string& sql) {
  TConn conn = Connect(conninfo);
  Run(conn.get(), sql);
}

std::vector<std::vector<std::string>> PgTestRows(const std::string& conninfo,
                                                 const std::string& sql) {
  TConn conn = Connect(conninfo);
  TPgResult result = Run(conn.get(), sql);
  std::vector<std::vector<std::string>> rows;
  for (int row = 0; row < PQntuples(result.get()); ++row) {
    std::vector<std::string> fields;
    for (int field = 0; field < PQnfields(result.get()); ++field)
      fields.push_back(
          PQgetisnull(result.get(), row, field) ? "<NULL>" : PQgetvalue(result.get(), row, field));
    rows.push_back(std::move(fields));
  }
  return rows;
}

TPgTestDatabase::TPgTestDatabase() : server_(PgTestConninfo()) {
  static std::atomic<int> counter{0};
  name_ = "vrl_t_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
  PgTestExec(server_, "CREATE DATABASE " + name_);
  conninfo_ = PgConninfoWithDatabase(server_, name_);
}

TPgTestDatabase::~TPgTestDatabase() {
  try {
    PgTestExec(server_, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  } catch (const std::exception&) {
    // The server may already be gone (a test that stops it); the cluster goes with it.
  }
}
