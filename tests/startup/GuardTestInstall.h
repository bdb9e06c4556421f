// An installation tree for the start-up guard and the upgrade check: Utils, DB, DBSys, LastVer
// and TmpVarnel in a temporary folder, the fake user interface and system (the program sits in
// the folder the test names), and a log hook that records every trace entry.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/FakeSystem.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TempDir.h"

class TGuardTestInstall {
 public:
  // program: path of the program file relative to the root, e.g. "Utils/VarnelServer".
  explicit TGuardTestInstall(const std::string& program = "Utils/VrlChangeDocsPath");
  ~TGuardTestInstall();

  // Moves the program (and the module, unless module is given) to another place and reloads
  // the folder defaults.
  void SetProgram(const std::string& program, const std::string& module = {});

  std::string Path(const std::string& relative) const { return (root_ / relative).string(); }
  // Writes a file (its folders created) with the given text.
  void Write(const std::string& relative, const std::string& text = "x") const;

  TFakeUi* Ui = nullptr;
  TFakeSystem* System = nullptr;
  // Trace entries written through the log hook: name, text.
  static std::vector<std::pair<std::string, std::string>> Traces;

 private:
  TTempDir temp_;
  std::filesystem::path root_;
};

// A tiny ELF file (64-bit, little-endian) holding only our version note; padTo makes it at
// least that many bytes long. Without a version, an ELF file with no note at all.
void WriteElfWithVersion(const std::string& file, const std::vector<uint16_t>& version,
                         size_t padTo = 0);
// Sets a file's modification time to base plus seconds (any base chosen once per test).
void SetFileTime(const std::string& file, int seconds);
