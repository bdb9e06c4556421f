// The throwaway PostgreSQL cluster that CTest starts for the remote tests (scripts/
// pg-test-cluster.sh, the PgCluster fixture), and fresh databases on it, one per test.
#pragma once

#include <string>
#include <vector>

// The conninfo of the cluster's maintenance database, from VRL_TEST_PG. A test that needs the
// server and finds none fails: this throws with a message that says how to get one.
std::string PgTestConninfo();

// conninfo with its database name replaced by dbName (every other keyword kept).
std::string PgConninfoWithDatabase(const std::string& conninfo, const std::string& dbName);

// Runs sql (one or more statements) on the database of conninfo; throws with the server's
// message on failure.
void PgTestExec(const std::string& conninfo, const std::string& sql);
// The rows of one query, each field as text ("<NULL>" for NULL); throws on failure.
std::vector<std::vector<std::string>> PgTestRows(const std::string& conninfo,
                                                 const std::string& sql);

// A fresh, uniquely named database on the test cluster for the life of the object, dropped
// (even while connections are still open) when it goes.
class TPgTestDatabase {
 public:
  TPgTestDatabase();
  ~TPgTestDatabase();
  TPgTestDatabase(const TPgTestDatabase&) = delete;
  TPgTestDatabase& operator=(const TPgTestDatabase&) = delete;

  const std::string& Name() const { return name_; }
  // The conninfo of this database.
  const std::string& Conninfo() const { return conninfo_; }

 private:
  std::string server_;
  std::string name_;
  std::string conninfo_;
};
