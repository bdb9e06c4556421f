#include "commands/RewriteCommand.h"

#include <iostream>

#include "common/Format.h"
#include "common/StrTable.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/ReplaceLock.h"
#include "docpaths/journal/JournalledRun.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/StopRequest.h"
#include "platform/SystemServices.h"
#include "platform/UiServices.h"

namespace {

// Puts the cursor back to the default however the command ends.
class TDefaultCursorOnExit {
 public:
  explicit TDefaultCursorOnExit(TUiServices& ui) : ui_(ui) {}
  ~TDefaultCursorOnExit() { ui_.SetCursor(TCursorKind::crDefault); }
  TDefaultCursorOnExit(const TDefaultCursorOnExit&) = delete;
  TDefaultCursorOnExit& operator=(const TDefaultCursorOnExit&) = delete;

 private:
  TUiServices& ui_;
};

// The stop signals record a stop request while a real run writes; before and after, they end
// the process as they always did (nothing is being written then).
class TStopSignalsWatched {
 public:
  explicit TStopSignalsWatched(bool watch) : watch_(watch) {
    if (!watch_) return;
    ClearStopRequest();
    Platform().System().WatchStopSignals(true);
  }
  ~TStopSignalsWatched() {
    if (!watch_) return;
    Platform().System().WatchStopSignals(false);
    ClearStopRequest();  // one that came after the passes ended asks nothing more
  }
  TStopSignalsWatched(const TStopSignalsWatched&) = delete;
  TStopSignalsWatched& operator=(const TStopSignalsWatched&) = delete;

 private:
  bool watch_;
};

std::map<std::string, int64_t> Written(const TCommandResult& result) {
  std::map<std::string, int64_t> written = {{kDocsPass.Name, result.Docs.Rewritten},
                                            {kCardsPass.Name, result.Cards.Rewritten}};
  if (result.PrefsWalked) written[kPrefPass.Name] = result.Prefs.Rewritten;
  return written;
}

// Ends the run of a command that did not reach its end; a failure to write that is reported
// on the error stream (the run then stays "running", which counts as incomplete) and does not
// hide the failure that ended the command.
void EndUnfinished(TJournalledRun* run, const TCommandResult& result) {
  if (!run) return;
  try {
    run->End(false, Written(result));
  } catch (const std::exception& e) {
    std::clog << "The undo journal could not end run " << run->RunId() << ": " << e.what()
              << std::endl;
  }
}

// Adds lines under a message, a blank line between.
void AddLines(std::string& message, const std::string& lines) {
  if (!lines.empty()) message += "\r\n\r\n" + lines;
}

// Step 7: what a real run that completed shows; empty: nothing.
std::string CompletionText(const TRewriteCommand& command, const TCommandOptions& options,
                           const TCommandResult& result) {
  std::string message = command.CompletionMessage();
  if (!options.CompletionDetail) return message;
  if (message.empty()) message = LoadStr(sOperationCompleted);
  AddLines(message, options.CompletionDetail(result));
  return message;
}

// Steps 1 to 4; the refusal, or none when the command may write (or, in a dry run, read).
std::optional<TCommandOutcome> MayRun(TRewriteCommand& command, const TCommandOptions& options,
                                      TReplaceLock& lock) {
  if (auto refusal = command.Check(options.DryRun, false)) return refusal;
  if (options.DryRun) return std::nullopt;
  TUiServices& ui = Platform().Ui();
  if (!command.AcceptHazard()) return TCommandOutcome::NewUnderOld;
  if (!WarnOfOtherStations(options.OtherStationsPrompt)) return TCommandOutcome::NotConfirmed;
  std::string question = command.Question();
  if (options.ConfirmDetail) AddLines(question, options.ConfirmDetail());
  if (!ui.ConfirmYesNo(question)) return TCommandOutcome::NotConfirmed;
  if (!command.AskAfterConfirmation()) return TCommandOutcome::NotConfirmed;
  // One command at a time per installation, from the confirmation to the clean-up.
  if (const std::string refusal = TakeReplaceLock(lock); !refusal.empty()) {
    ui.ShowMessage(refusal, TMessageKind::mkWarning);
    return TCommandOutcome::Busy;
  }
  return command.Check(false, true);
}

}  // namespace

std::string TakeReplaceLock(TReplaceLock& lock) {
  switch (lock.AcquireForInstallation()) {
    case TReplaceLock::TResult::Held:
      return {};
    case TReplaceLock::TResult::Busy:
      return LoadStr(sAnotherReplaceRunning);
    case TReplaceLock::TResult::Failed:
      break;
  }
  return Format(LoadStr(lock.OnServer() ? sServerReplaceLockFailed : sReplaceLockFileFailed),
                {lock.Path(), lock.Reason()});
}

std::string StoppedRunText(const TCommandResult& result) {
  const int64_t written = result.Docs.Rewritten + result.Cards.Rewritten;
  const std::string done = Format(
      LoadStr(sStoppedBySignal),
      {StopSignalName(result.StopSignal), written, result.Docs.Rewritten, result.Cards.Rewritten});
  if (result.RunId.empty()) return done + " " + LoadStr(sRunNotJournalled);
  return done + " " +
         Format(LoadStr(sRunIncomplete), {result.RunId, ResumeCommandLine(result.RunId)});
}

TCommandResult RunRewriteCommand(TComponent& owner, TRewriteCommand& command,
                                 const TCommandOptions& options) {
  TCommandResult result;
  TReplaceLock lock;
  if (auto refusal = MayRun(command, options, lock)) {
    result.Outcome = *refusal;
    return result;
  }

  TUiServices& ui = Platform().Ui();
  TDefaultCursorOnExit defaultCursor(ui);
  ui.SetCursor(TCursorKind::crHourGlass);
  const bool real = !options.DryRun;
  // The clean-up every real run ends with.
  auto cleanUp = [real] {
    if (real) LogEvent(GetConnectionInfo(), "");
  };
  std::unique_ptr<TJournalledRun> run;
  try {
    TStopSignalsWatched stopSignals(real);
    TPassOptions docsPass{options.DryRun, options.DocsObserver};
    TPassOptions cardsPass{options.DryRun, options.CardsObserver};
    TPassOptions prefsPass{options.DryRun};
    if (real) {
      LogEvent(command.LogName(), command.LogText());
      run = command.BeginRun();
      if (run) {
        result.RunId = run->RunId();
        docsPass = run->Pass(docsPass, kDocsPass);
        cardsPass = run->Pass(cardsPass, kCardsPass);
        if (command.WalksPrefs()) prefsPass = run->Pass(prefsPass, kPrefPass);
      }
    }
    command.WalkDocs(docsPass, result);
    RunCardPass(
        &owner, command.CardFailureName(), options.DryRun,
        [&] { command.WalkCards(cardsPass, result); }, [&] { return command.CardFailureText(); });
    if (command.WalksPrefs() && result.Cards.Completed) {
      result.PrefsWalked = true;
      RunCardPass(
          &owner, command.PrefFailureName(), options.DryRun,
          [&] { command.WalkPrefs(prefsPass, result); }, [&] { return command.LogText(); });
    }
    if (options.PassesEnded) options.PassesEnded();
    const bool completed = result.Docs.Completed && result.Cards.Completed &&
                           (!command.WalksPrefs() || result.Prefs.Completed);
    result.Outcome = completed ? TCommandOutcome::Completed : TCommandOutcome::NotCompleted;
    if (run) {
      // The run's end and what it marks go in together: never an undo written complete beside
      // the run it undid still standing.
      TJournalTransaction ending;
      run->End(completed, Written(result));
      command.RunEnded(*run, completed);
      ending.Commit();
    }
    ui.SetCursor(TCursorKind::crDefault);
    if (completed && real) {
      if (const std::string message = CompletionText(command, options, result); !message.empty())
        ui.ShowMessage(message, TMessageKind::mkInformation);
    }
  } catch (const EStopRequested& stop) {
    result.Outcome = TCommandOutcome::Interrupted;
    result.StopSignal = stop.Signal();
    EndUnfinished(run.get(), result);
    LogEvent("Stopped", StoppedRunText(result));
  } catch (...) {
    EndUnfinished(run.get(), result);
    cleanUp();
    if (options.Unfinished) {
      result.Outcome = TCommandOutcome::NotCompleted;
      options.Unfinished(result);
    }
    throw;
  }
  cleanUp();
  return result;
}
