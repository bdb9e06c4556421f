// The console program: the window's replace command for a terminal or a script.
//
//   VrlChangeDocsPathCli [--old PATH] --new PATH [--yes] [--dry-run] [--force] [--no-journal]
//                        [--report FILE] [--check-files --old-root PATH [--new-root PATH]]
//   VrlChangeDocsPathCli --list-runs
//   VrlChangeDocsPathCli --undo RUN [--yes] [--dry-run]
//   VrlChangeDocsPathCli --resume RUN [--yes] [--dry-run]
//
// Without --old the old path is the documents folder of the all-users preferences, the value
// the window offers in its Old Path; the program prints which old path it uses. A dry run
// prints the pre-flight report (docs/PreflightReport.h); --report and --check-files make the run
// a dry run. A real run with the new folder under the old one is refused unless --force is given.
//
// Exit codes: app/ConsoleExitCodes.h. The caller fills the platform's system and engine
// services; the program installs its own terminal user interface for the run.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/console/ConsoleExitCodes.h"

struct TConsoleTerminal {
  bool StdinIsTerminal = false;
  bool StderrIsTerminal = false;
};

// args: the command-line arguments after the program name.
int RunConsoleProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err, TConsoleTerminal terminal);
