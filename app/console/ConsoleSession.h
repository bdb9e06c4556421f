// What every console command runs with: the program's stand-in for the window, the parsed
// options, the output and error streams and what of them is a terminal, and with --json the
// object the command fills (app/console/ConsoleJson.h; its text then goes nowhere).
#pragma once

#include <iosfwd>

#include "app/console/ConsoleArgs.h"
#include "common/Classes.h"

class TConsoleJson;

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
  TConsoleJson* Json = nullptr;  // --json: the object printed in place of the text
};
