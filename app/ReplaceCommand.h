// The replace command: the one implementation behind the window's "Replace" button and the
// console program. It reads the two path texts as the user typed them, refuses a blank new path
// and a path no Windows path can be (PathTextCheck), asks for confirmation, takes the
// installation's replace lock (refused while another replace holds it), rewrites the documents
// and then the cards, reports completion, and always logs the connection information and frees
// its data module at the end.
//
// A real replace is journalled (docs/JournalledRun.h) unless Journal is off: its run id is in the
// result and logged right after the "Change Docs Path" entry. With ResumeRun it takes that
// incomplete run up again, leaving alone the records the run already rewrote.
//
// A dry run computes every rewrite without posting any: it asks no confirmation and writes no
// log entry, since nothing changes. Given a report to fill, it reads each table once for the
// pre-flight report (docs/PreflightReport.h) in place of its passes.
//
// A new folder under the old one (C:\Docs to C:\Docs\Archive) is a re-run hazard: before any
// other question a real replace asks whether to go on all the same, and stops when not.
#pragma once

#include <functional>
#include <string>

#include "app/OtherStationsWarning.h"
#include "docs/DatDocsDBServices.h"
#include "docs/PreflightReport.h"

class TComponent;
class TReplaceLock;

struct TReplaceOptions {
  bool DryRun = false;
  TRewriteObserver* DocsObserver = nullptr;
  TRewriteObserver* CardsObserver = nullptr;
  // Asks whether to go on when other stations have the CRM open (app/OtherStationsWarning.h);
  // empty: the message dialog.
  TOtherStationsPrompt OtherStationsPrompt;
  // Called when both passes have ended normally, before "Operation completed" is shown.
  std::function<void()> PassesEnded;
  // A dry run fills it (with the files of FileCheck looked for) instead of running the passes.
  TPreflightReport* Report = nullptr;
  TFileCheck FileCheck;
  // Asks whether to replace with the new folder under the old one; empty: a Yes/No
  // confirmation of its own.
  std::function<bool()> NewUnderOldPrompt;
  bool Journal = true;    // journal the posts for an undo
  std::string ResumeRun;  // the incomplete run to finish; empty: a new run
};

enum class TReplaceOutcome {
  BlankNewPath,  // refused: "Enter new path and try again"
  RefusedPath,   // refused: a path text no Windows path can be (PathTextCheck)
  NewUnderOld,   // refused: the new folder lies under the old one and going on was not confirmed
  Busy,          // refused: another replace holds the installation's replace lock
  NotConfirmed,  // the other-stations warning was cancelled or the confirmation not answered Yes
  Completed,     // both passes walked their tables to the end
  NotCompleted,  // a pass stopped at a failure it handled itself (the card pass shows and logs it)
};

struct TReplaceResult {
  TReplaceOutcome Outcome = TReplaceOutcome::NotConfirmed;
  TPassResult Docs;
  TPassResult Cards;
  std::string RunId;  // the journalled run; empty without a journal
};

// Runs the command for owner (the window, or the console program's stand-in): owner owns the
// command's data module and is the sender of the card pass's failure entry. A failure of the
// document pass propagates after the clean-up; the cursor is back to the default in every case.
TReplaceResult ReplaceDocsPath(TComponent& owner, const std::string& oldPathText,
                               const std::string& newPathText, const TReplaceOptions& options = {});

// Takes the installation's replace lock; the message refusing the command when it cannot.
std::string TakeReplaceLock(TReplaceLock& lock);
