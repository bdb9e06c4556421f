// The console program's entry: the system and engine services installed, the program run on the
// process's own streams and terminal. The exit code.
#pragma once

int RunConsoleEntry(int argc, char** argv);
