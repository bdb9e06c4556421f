// The window program's entry: the system, engine and Qt services installed, the program units
// started, the window shown and its loop run; the units stopped at every end. The exit code.
#pragma once

#include <functional>

class TChangePathForDocsFrm;

int RunWindowEntry(int argc, char** argv);

// The window program's run once the platform's services are in place: the installation that
// VRL_INSTALLATION names taken (one that is none is refused in an error box, exit code 2, before
// anything else), the program units started, the window created and handed to run, which shows
// it and runs the loop when it started up; the units stopped at every end. A failed start-up
// step or check has told the user why and was logged, and a refusal of the start-up guard has
// said why: the program then ends in order (exit code 0).
int RunWindowProgram(const std::function<int(TChangePathForDocsFrm& window)>& run);
