// Runs a built program as a child process, the way a user or a script would: no terminal on
// standard input, standard output and error captured.
#pragma once

#include <string>
#include <vector>

struct TProgramRun {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// The path of a program built into the build's bin folder.
std::string BuiltProgram(const std::string& name);
// Runs program with args (standard input from /dev/null, or from the given text).
TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& input = {});
