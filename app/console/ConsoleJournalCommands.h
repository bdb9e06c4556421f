// The console's journal commands: --list-runs prints the journalled runs, oldest first, one
// line each (commands/RunListLine.h; a replace of several folders shows as
// "3 folders -> <the new folder, or the first>"); --show-run RUN prints that line, then each of
// its folders with the records it wrote under it (from the journal) and its state:
//
//   R1  2026-12-09 04:30:23  3 folders -> E:\Docs  Docs 276, Cards 30  replace
//     C:\Docs\Scans -> E:\Docs: Documents 20, Cards 3
//     ...
//   State: complete. To undo it: VrlChangeDocsPathCli --undo R1
//
// --undo RUN and --resume RUN run the undo or the resume of a run, confirmed as a replace is
// (--yes; --dry-run changes nothing).
#pragma once

#include "app/console/ConsoleSession.h"

int RunConsoleListRuns(TConsoleSession& session);
int RunConsoleShowRun(TConsoleSession& session);
int RunConsoleUndo(TConsoleSession& session);
int RunConsoleResume(TConsoleSession& session);
