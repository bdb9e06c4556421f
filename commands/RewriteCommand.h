// The one skeleton every command that rewrites stored paths runs on: the replace, the undo and
// the resume of either. A command says what is its own (its checks, its question, its log
// entry, its run and its passes); the skeleton runs the steps in the one order they share:
//
//   1. the command's checks, shown when they refuse (a blank or impossible path; an unknown
//      run, a run already undone, a journal that cannot be read or has lost rows);
//   2. a real run only: the command's own question first (the re-run hazard), then the
//      other-stations warning and the Yes/No confirmation (with the lines the options add), then
//      the command's questions that follow it (the folder preferences);
//   3. the installation's replace lock, refused while another command holds it;
//   4. with the lock held, the command's checks again wherever they read the journal: another
//      station may have undone or resumed the run while this one waited at its confirmation;
//   5. the hourglass; the log entry that opens the run; the journalled run begun;
//   6. the document pass (a failure propagates, after step 8) and the card pass (a failure is
//      shown and logged, and the run is not complete); then the preferences pass when the
//      command walks it (its failure as the card pass's);
//   7. the run ended with what it wrote; the command's completion message;
//   8. always, for a real run: the connection information logged; the cursor back to default.
//
// A stop signal (SIGINT, SIGTERM, SIGHUP) during a real run's passes ends the walk before its
// next record: what was posted is committed and kept, the run is written incomplete with its
// counts, an entry "Stopped" says what was done and how to resume, and the result is
// Interrupted. A dry run asks nothing, takes no lock, logs and journals nothing.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "commands/OtherStationsWarning.h"
#include "docpaths/DatDocsDBServices.h"
#include "docpaths/FolderMappings.h"
#include "docpaths/journal/PathUndo.h"

class TComponent;
class TJournalledRun;
class TReplaceLock;

enum class TCommandOutcome {
  BlankNewPath,    // refused: "Enter new path and try again"
  RefusedPath,     // refused: a path text no Windows path can be (PathTextCheck)
  NewUnderOld,     // refused: the new folder lies under the old one and going on was not confirmed
  RefusedMapping,  // refused: several folders that conflict (docpaths/FolderMappings.h)
  Refused,         // refused by the journal: an unknown run, a run already undone or complete
  NoJournal,       // refused: the journal is missing, cannot be read, or has lost rows of the run
  Busy,            // refused: another command holds the installation's replace lock
  NotConfirmed,    // the other-stations warning was cancelled or the confirmation not answered Yes
  Completed,       // both passes walked their tables to the end
  NotCompleted,    // a pass stopped at a failure it handled itself (shown and logged)
  Interrupted,     // a stop signal ended the passes; what was done is kept, the run is incomplete
};

struct TCommandResult;

// What the window and the console hand every command.
struct TCommandOptions {
  bool DryRun = false;
  TRewriteObserver* DocsObserver = nullptr;
  TRewriteObserver* CardsObserver = nullptr;
  // Asks whether to go on when other stations have the CRM open (app/OtherStationsWarning.h);
  // empty: the message dialog.
  TOtherStationsPrompt OtherStationsPrompt;
  // Called when both passes have ended normally, before the completion message is shown.
  std::function<void()> PassesEnded;
  // What the window adds to the messages (empty: nothing): lines under the confirmation's
  // question (read before it is asked), and lines under the completion message of a real run
  // that completed; with them, a command without a completion message of its own shows
  // "Operation completed".
  std::function<std::string()> ConfirmDetail;
  std::function<std::string(const TCommandResult&)> CompletionDetail;
  // Called, with Outcome NotCompleted, when a failure ends the passes by propagating (the document
  // pass's): what they did and the run they journalled it in, which the caller never gets as a
  // result. It must not throw; the failure goes on once it returns.
  std::function<void(const TCommandResult&)> Unfinished;
};

struct TCommandResult {
  TCommandOutcome Outcome = TCommandOutcome::NotConfirmed;
  TPassResult Docs;
  TPassResult Cards;
  // The folder preferences (docpaths/FolderPrefs.h): walked or not; when not, how many name an
  // old folder all the same (counted before the run: they still do).
  TPassResult Prefs;
  bool PrefsWalked = false;
  int64_t PrefsLeft = 0;
  std::string RunId;   // the journalled run; empty without a journal and in a dry run
  int StopSignal = 0;  // Interrupted: the signal that stopped it
  bool Undo = false;   // the command puts paths back (an undo, or the resume of one)
  TUndoTally Tally;    // an undo: the journalled records it left alone
  // A replace of several folders (or its resume): its rows, by which Docs.ByRow and
  // Cards.ByRow count; empty for one folder.
  TFolderMappingRows Mappings;
};

class TRewriteCommand {
 public:
  virtual ~TRewriteCommand() = default;

  // Step 1 (and 4 with afterLock): the refusal, already shown; none to go on.
  virtual std::optional<TCommandOutcome> Check(bool dryRun, bool afterLock) = 0;
  // Step 2: the command's own question before the shared ones; false refuses (NewUnderOld).
  virtual bool AcceptHazard() { return true; }
  virtual std::string Question() const = 0;
  // Step 2, after the confirmation: the questions that follow it; false refuses (NotConfirmed).
  virtual bool AskAfterConfirmation() { return true; }
  // Step 5: the entry that opens a real run in the log.
  virtual std::string LogName() const = 0;
  virtual std::string LogText() const = 0;
  // Step 5: begins the journalled run; nullptr for a run without a journal.
  virtual std::unique_ptr<TJournalledRun> BeginRun() = 0;
  // Step 6: the document pass, then the card pass (run by the skeleton through RunCardPass,
  // under CardFailureName and the text CardFailureText gives).
  virtual void WalkDocs(const TPassOptions& options, TCommandResult& result) = 0;
  virtual void WalkCards(const TPassOptions& options, TCommandResult& result) = 0;
  virtual std::string CardFailureName() const = 0;
  virtual std::string CardFailureText() const = 0;
  // Step 6: the preferences pass, when the command walks it (its failure is handled as the card
  // pass's, under PrefFailureName and the command's LogText).
  virtual bool WalksPrefs() const { return false; }
  virtual void WalkPrefs(const TPassOptions& options, TCommandResult& result) {
    (void)options, (void)result;
  }
  virtual std::string PrefFailureName() const { return {}; }
  // Step 7: a real run's passes ended (the undo marks the run it undid).
  virtual void RunEnded(TJournalledRun& run, bool completed) { (void)run, (void)completed; }
  // Step 7: the message shown when a real run completed; empty: none (unless the options add
  // lines to it).
  virtual std::string CompletionMessage() const { return {}; }
};

// Runs command for owner (the window, or the console program's stand-in: it owns what the
// command creates and sends its log entries).
TCommandResult RunRewriteCommand(TComponent& owner, TRewriteCommand& command,
                                 const TCommandOptions& options);

// Takes the installation's replace lock; the message refusing the command when it cannot.
std::string TakeReplaceLock(TReplaceLock& lock);

// The message of an interrupted run: what it wrote and how to finish it.
std::string StoppedRunText(const TCommandResult& result);
// The exit code of a program whose run a stop signal ended: 128 + the signal, as a shell tells
// a process the signal ended.
inline int StoppedExitCode(int signal) {
  return 128 + signal;
}
