#include "tests/support/DemoInstallation.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "db/CrmSchema.h"
#include "db/CrmSchemaPostgres.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tests/support/RunProgram.h"

TDemoInstallation::TDemoInstallation(const std::vector<std::string>& options,
                                     const std::string& rootName, TDemoServer server)
    : root_(temp_.Path() / rootName), server_(server) {
  std::vector<std::string> args{"--root", root_.string()};
  args.insert(args.end(), options.begin(), options.end());
  if (server == TDemoServer::Remote) {
    remote_ = std::make_unique<TPgTestDatabase>();
    args.insert(args.end(), {"--remote", remote_->Conninfo()});
  }
  const TProgramRun run = RunProgram(BuiltProgram("VrlDemoInstall"), args);
  if (run.ExitCode != 0) throw std::runtime_error("VrlDemoInstall failed: " + run.Out + run.Err);
}

std::string TDemoInstallation::QueryValue(const std::string& sql) const {
  if (Remote()) {
    if (!remote_) throw std::logic_error("the remote demo database was removed");
    return PgTestRows(remote_->Conninfo(), sql).at(0).at(0);
  }
  auto db =
      CreateSqliteAceDriver()->Connect(DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  return db->OpenQuery(sql, {})->FieldText(0);
}

std::string TDemoInstallation::Snapshot() const {
  if (!Remote()) {
    std::ifstream file(DatabaseFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  if (!remote_) throw std::logic_error("the remote demo database was removed");
  std::string snapshot;
  for (const std::string& table : SchemaTableNames(CrmSchemaSql()))
    for (const auto& row : PgTestRows(remote_->Conninfo(), "SELECT t::text FROM " + table +
                                                               " t ORDER BY " + RemoteRowIdColumn))
      snapshot += table + ": " + row.at(0) + "\n";
  return snapshot;
}

void TDemoInstallation::RemoveDatabase() {
  if (Remote())
    remote_.reset();
  else
    std::filesystem::remove_all(DatabaseFolder());
}
