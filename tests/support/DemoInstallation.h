// A demo installation laid out by the built VrlDemoInstall in a temporary folder, with a way to
// read and seed its database through the engine (a connection of its own).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

class TDemoInstallation {
 public:
  // VrlDemoInstall's own options, e.g. {"--documents", "0", "--cards", "0"}.
  explicit TDemoInstallation(const std::vector<std::string>& options);

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Utils() const { return root_ / "Utils"; }
  std::filesystem::path DatabaseFolder() const { return root_ / "DB"; }
  std::filesystem::path DatabaseFile() const { return DatabaseFolder() / "Varnel.sqlite"; }

  // Runs statements on the database through Platform().Engine().
  void Exec(const std::string& sql) const;
  // The first column of every row of a query, NULL as empty text.
  std::vector<std::string> Column(const std::string& sql) const;

 private:
  TTempDir temp_;
  std::filesystem::path root_;
};

// The whole file, byte for byte.
std::string FileBytes(const std::filesystem::path& file);
