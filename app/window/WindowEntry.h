// The window program's entry: the system, engine and Qt services installed, the program units
// started, the window shown and its loop run; the units stopped at every end. The exit code.
#pragma once

int RunWindowEntry(int argc, char** argv);
