// What every console command runs with: the program's stand-in for the window, the parsed
// options, the output and error streams and what of them is a terminal.
#pragma once

#include <iosfwd>

#include "app/console/ConsoleArgs.h"
#include "common/Classes.h"

struct TConsoleTerminal {
  bool StdinIsTerminal = false;
  bool StderrIsTerminal = false;
};

struct TConsoleSession {
  TComponent& Program;
  TConsoleArgs& Args;
  std::ostream& Out;
  std::ostream& Err;
  TConsoleTerminal Terminal;
};
