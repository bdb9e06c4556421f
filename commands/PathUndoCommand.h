// The journal's commands on the command skeleton (app/RewriteCommand.h): undo a run, resume an
// incomplete run. Like the replace they confirm first (not in a dry run), take the
// installation's replace lock, read the journal again with the lock held, log what they do and
// journal their own posts, so an undo can itself be undone.
//
// Refusals are shown through the user interface and change nothing: no journal in the database,
// a journal that cannot be read or has lost rows of the run, an unknown run id, a run already
// undone or with an unfinished undo, an undo of an undo whose run never finished, a complete run
// to resume, no confirmation, another command running.
#pragma once

#include <string>

#include "commands/ReplaceCommand.h"

// Undoes runId: every record it journalled that still holds the value it wrote gets its value
// from before. With resuming (an incomplete undo of runId) that undo is finished under its own
// id, leaving out what it already put back. A failure of the document pass propagates (the undo
// run is then left incomplete). The result's Tally counts the journalled records left alone.
TCommandResult UndoPathRun(TComponent& owner, const std::string& runId,
                           const TCommandOptions& options, const std::string& resuming = {});

// Finishes the incomplete run runId: a replace as the replace command does (options), an undo
// through UndoPathRun. Its dry run counts exactly what it would do.
TCommandResult ResumePathRun(TComponent& owner, const std::string& runId,
                             const TReplaceOptions& options);
