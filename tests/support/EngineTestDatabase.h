// The CRM database of one engine, for the tests that run on both: the local server (a
// SQLite file in a test installation) or the remote one (a fresh database on the throwaway
// PostgreSQL cluster with the translated schema). The platform holder gets the engine driver the
// programs use, aimed at that database.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/CrmTestInstall.h"
#include "tests/support/PgTestServer.h"

enum class TTestEngine { Local, Remote };

class TEngineTestDatabase {
 public:
  explicit TEngineTestDatabase(TTestEngine engine);

  TTestEngine Engine() const { return engine_; }
  TAdsServerType ServerType() const;
  // The connect path the components use (the installation's database folder).
  std::string ConnectPath() const { return install_.DbFolder(); }
  // A connection of its own (another station).
  std::unique_ptr<TAceConnection> Open() const;
  // Every value of a column (or expression) in natural record order; NULL reads "<NULL>".
  std::vector<std::string> Column(const std::string& table, const std::string& column) const;
  // The remote database's conninfo (empty for the local server).
  std::string Conninfo() const { return pg_ ? pg_->Conninfo() : std::string(); }

 private:
  TTestEngine engine_;
  TCrmTestInstall install_;
  std::unique_ptr<TPgTestDatabase> pg_;
};

// n documents D1..Dn with DOCUMENT_NAME C:\DOCS\<i>, in natural order, in one transaction.
void AddTestDocs(TAceConnection& db, int n);
// The first field of a query's first row: "<none>" without rows, "<NULL>" for NULL.
std::string QueryOne(TAceConnection& db, const std::string& sql, const TAceParams& params = {});

// The [VarnelRemote] section of ads.ini naming the server and database of a conninfo.
std::string RemoteAdsIniSection(const std::string& conninfo);

std::string EngineName(const testing::TestParamInfo<TTestEngine>& info);
