// The journal's commands: undo a run, resume an incomplete run. Like the replace they confirm
// first (not in a dry run), take the installation's replace lock, log what they do and journal
// their own posts, so an undo can itself be undone.
//
// Refusals are shown through the user interface and change nothing: no journal in the database,
// a journal that cannot be read, an unknown run id, a run already undone, a complete run to
// resume, no confirmation, another replace running.
#pragma once

#include <string>

#include "app/ReplaceCommand.h"
#include "docs/PathUndo.h"

enum class TJournalOutcome {
  Completed,     // every journalled record was put back (or, resuming, the run finished)
  Skipped,       // done, but records changed or deleted since were left alone
  Refused,       // unknown run, already undone, complete, not confirmed, busy
  NoJournal,     // the journal is missing or cannot be read
  NotCompleted,  // a pass stopped at a failure it handled itself
};

struct TUndoOptions {
  bool DryRun = false;
  TOtherStationsPrompt OtherStationsPrompt;
  std::string ResumeRun;  // the incomplete undo run to finish; empty: a new undo run
};

struct TUndoResult {
  TJournalOutcome Outcome = TJournalOutcome::Refused;
  std::string RunId;  // the undo's own run (empty in a dry run)
  TPassResult Docs;
  TPassResult Cards;
  TUndoTally Tally;
};

// Undoes runId. A failure of a pass propagates (the undo run is then left incomplete).
TUndoResult UndoPathRun(const std::string& runId, const TUndoOptions& options = {});

// Finishes the incomplete run runId: a replace through the replace command (which confirms it
// as every replace), an undo through UndoPathRun. A dry run of a resumed replace counts the
// records the run already rewrote as well.
struct TResumeResult {
  TJournalOutcome Outcome = TJournalOutcome::Refused;
  TReplaceResult Replace;  // a resumed replace
  TUndoResult Undo;        // a resumed undo
  bool WasUndo = false;
};
TResumeResult ResumePathRun(TComponent& owner, const std::string& runId,
                            const TReplaceOptions& options);
