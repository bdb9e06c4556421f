// The console program run in this process, as the tests drive it: its exit code and what it
// printed on each stream.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "app/console/ConsoleProgram.h"

struct TConsoleRun {
  int Code = -1;
  std::string Out;
  std::string Err;
};

// Runs the program with args; typed is what the user types at its prompts.
inline TConsoleRun RunConsole(const std::vector<std::string>& args, const std::string& typed = {},
                              TConsoleTerminal terminal = {}) {
  std::istringstream in(typed);
  std::ostringstream out, err;
  TConsoleRun run;
  run.Code = RunConsoleProgram(args, in, out, err, terminal);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}
