// Runs a built program as a child process, the way a user or a script would: no terminal on
// standard input, standard output and error captured.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

struct TProgramRun {
  int ExitCode = -1;  // 128 + the signal when a signal ended it
  std::string Out;
  std::string Err;
};

// The path of a program built into the build's bin folder.
std::string BuiltProgram(const std::string& name);

// A program started and not yet waited for; destroying it kills and reaps it.
class TStartedProgram {
 public:
  // Standard input from the given text (empty: nothing).
  TStartedProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& input = {});
  ~TStartedProgram();
  TStartedProgram(const TStartedProgram&) = delete;
  TStartedProgram& operator=(const TStartedProgram&) = delete;

  void Signal(int signal) const;
  TProgramRun Wait();

 private:
  TTempDir scratch_;
  pid_t pid_ = -1;
};

// Runs program with args (standard input from /dev/null, or from the given text).
TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& input = {});

// Waits, without polling, until file (which may not exist yet) holds text; false when it still
// does not after timeout, a bound that only keeps a broken test from hanging.
bool WaitForFileText(const std::filesystem::path& file, const std::string& text,
                     std::chrono::seconds timeout = std::chrono::seconds(60));
