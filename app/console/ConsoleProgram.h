// The console program: the window's replace command for a terminal or a script, and the undo
// journal's commands (app/console/ConsoleArgs.h lists the options). It starts the program
// units, runs the start-up checks and then the one command the options ask for, one unit each:
// the replace (ConsoleReplace.h) and the journal's list, undo and resume
// (ConsoleJournalCommands.h). Exit codes: app/console/ConsoleExitCodes.h.
//
// The caller fills the platform's system and engine services; the program installs its own
// terminal user interface for the run.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleSession.h"

// args: the command-line arguments after the program name.
int RunConsoleProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err, TConsoleTerminal terminal);
