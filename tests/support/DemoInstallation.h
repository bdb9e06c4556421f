// A demo installation laid out by the built VrlDemoInstall in a temporary folder, as a user lays
// one out: the programs in Utils, the sample database in DB (the local server) or in a fresh
// database of the test PostgreSQL cluster (the remote server, --remote).
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/PgTestServer.h"
#include "tests/support/TempDir.h"

enum class TDemoServer { Local, Remote };
// Names the server in test output ("Local", "Remote").
inline std::string DemoServerName(TDemoServer server) {
  return server == TDemoServer::Local ? "Local" : "Remote";
}
inline void PrintTo(TDemoServer server, std::ostream* out) {
  *out << DemoServerName(server);
}

class TDemoInstallation {
 public:
  // VrlDemoInstall's own options, e.g. {"--documents", "0", "--cards", "0"}; the installation is
  // the folder rootName of a fresh temporary folder.
  explicit TDemoInstallation(const std::vector<std::string>& options,
                             const std::string& rootName = "CRM",
                             TDemoServer server = TDemoServer::Local);

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Utils() const { return root_ / "Utils"; }
  std::filesystem::path DatabaseFolder() const { return root_ / "DB"; }
  std::filesystem::path DatabaseFile() const { return DatabaseFolder() / "Varnel.sqlite"; }
  bool Remote() const { return server_ == TDemoServer::Remote; }
  // The conninfo of the remote installation's database (empty for the local server).
  std::string Conninfo() const { return remote_ ? remote_->Conninfo() : std::string(); }

  // The first field of the first row of sql, run on the installation's database (SQL both
  // servers read alike).
  std::string QueryValue(const std::string& sql) const;
  // What the database holds, to tell whether a run changed anything: the local database file's
  // bytes, or every row of every remote table in natural order.
  std::string Snapshot() const;
  // Takes the database away: the local DB folder, or the remote database (dropped).
  void RemoveDatabase();

 private:
  TTempDir temp_;
  std::filesystem::path root_;
  TDemoServer server_;
  std::unique_ptr<TPgTestDatabase> remote_;
};
