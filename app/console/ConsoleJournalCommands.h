// The console's journal commands: --list-runs prints the journalled runs, oldest first, one
// line each (commands/RunListLine.h); --undo RUN and --resume RUN run the undo or the
// resume of a run, confirmed as a replace is (--yes; --dry-run changes nothing).
#pragma once

#include "app/console/ConsoleSession.h"

int RunConsoleListRuns(TConsoleSession& session);
int RunConsoleUndo(TConsoleSession& session);
int RunConsoleResume(TConsoleSession& session);
