// The console's replace: the old path (given, or the documents folder of the all-users
// preferences, as the window's Old Path offers it, and printed), the re-run hazard refused
// without --force, the replace itself, and for a dry run the pre-flight report on the output and,
// with --report, as CSV (a report file that cannot be written is refused before the passes).
#pragma once

#include "app/console/ConsoleSession.h"

int RunConsoleReplace(TConsoleSession& session);
