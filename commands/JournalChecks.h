// What the undo and the resume ask of the journal before they write, once before their
// confirmation and again with the replace lock held (another station may have undone or
// resumed the run meanwhile). Each check shows its refusal and answers it; none when the run
// may go on. A journal that cannot be read refuses with NoJournal.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "commands/RewriteCommand.h"
#include "docpaths/journal/PathJournal.h"

// Runs checks on the journal; an engine failure reading it is shown and refused as NoJournal.
std::optional<TCommandOutcome> ReadJournal(
    const std::function<std::optional<TCommandOutcome>(TPathJournal&)>& checks);

// Finds run runId (refused: no journal, an unknown run).
std::optional<TCommandOutcome> FindRun(TPathJournal& journal, const std::string& runId,
                                       TPathRun& run);
// Refuses a run already undone.
std::optional<TCommandOutcome> RefuseUndone(const TPathRun& run);
// Refuses a run with an unfinished undo (an undo of it, incomplete and not undone) other than
// the undo named by resuming.
std::optional<TCommandOutcome> RefuseUnfinishedUndo(TPathJournal& journal, const TPathRun& run,
                                                    const std::string& resuming = {});
// Refuses an undo of an undo whose run never finished: it would bring that run back half done,
// and a resume of it would go beyond what the undo took back.
std::optional<TCommandOutcome> RefuseUndoOfUnfinished(TPathJournal& journal, const TPathRun& run);
// Refuses a run whose journal holds fewer rows than it recorded writing (rows: per table).
std::optional<TCommandOutcome> RefuseMissingRows(const TPathRun& run,
                                                 const std::map<std::string, int64_t>& rows);
