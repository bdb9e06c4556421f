#include "tests/support/DemoInstallation.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/Platform.h"
#include "platform/engine/AceDriver.h"
#include "tests/support/RunProgram.h"

TDemoInstallation::TDemoInstallation(const std::vector<std::string>& options)
    : root_(temp_.Path() / "CRM") {
  std::vector<std::string> args{"--root", root_.string()};
  args.insert(args.end(), options.begin(), options.end());
  const TProgramRun run = RunProgram(BuiltProgram("VrlDemoInstall"), args);
  if (run.ExitCode != 0) throw std::runtime_error("VrlDemoInstall failed: " + run.Out + run.Err);
}

void TDemoInstallation::Exec(const std::string& sql) const {
  auto connection =
      Platform().Engine().Connect(DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  connection->ExecSQL(sql, {});
}

std::vector<std::string> TDemoInstallation::Column(const std::string& sql) const {
  auto connection =
      Platform().Engine().Connect(DatabaseFolder().string(), TAdsServerType::stADS_LOCAL);
  auto cursor = connection->OpenQuery(sql, {});
  std::vector<std::string> values;
  for (cursor->First(); !cursor->Eof(); cursor->Next()) values.push_back(cursor->FieldText(0));
  return values;
}

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
