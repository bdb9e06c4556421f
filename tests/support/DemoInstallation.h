// A demo installation laid out by the built VrlDemoInstall in a temporary folder, as a user lays
// one out: the programs in Utils, the sample database in DB.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

class TDemoInstallation {
 public:
  // VrlDemoInstall's own options, e.g. {"--documents", "0", "--cards", "0"}; the installation is
  // the folder rootName of a fresh temporary folder.
  explicit TDemoInstallation(const std::vector<std::string>& options,
                             const std::string& rootName = "CRM");

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Utils() const { return root_ / "Utils"; }
  std::filesystem::path DatabaseFolder() const { return root_ / "DB"; }
  std::filesystem::path DatabaseFile() const { return DatabaseFolder() / "Varnel.sqlite"; }

 private:
  TTempDir temp_;
  std::filesystem::path root_;
};
