#include "app/ReplaceCommand.h"

#include <memory>

#include "common/Format.h"
#include "common/PathTextCheck.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/ReplaceLock.h"
#include "docs/JournalledRun.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
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

// The clean-up every real replace ends with: the connection information goes to the log, then
// the data module is freed.
void CleanUp(std::unique_ptr<TDatDocsDBServicesDM>& docsDM, bool logIt) {
  if (logIt) LogEvent(GetConnectionInfo(), "");
  docsDM.reset();
}

// The message refusing the first path text no Windows path can be; empty when both can be.
std::string PathTextRefusal(const std::string& oldPath, const std::string& newPath) {
  for (const auto& [text, isNew] : {std::pair{&oldPath, false}, std::pair{&newPath, true}})
    if (const TPathTextFault fault = CheckPathText(*text); fault != TPathTextFault::None)
      return LoadStr(PathTextFaultMessage(fault, isNew));
  return {};
}

// Whether a replace may put the new folder under the old one.
bool AcceptNewUnderOld(const TReplaceOptions& options, const std::string& oldPath,
                       const std::string& newPath) {
  if (options.NewUnderOldPrompt) return options.NewUnderOldPrompt();
  return Platform().Ui().ConfirmYesNo(Format(LoadStr(64861), {newPath, oldPath}));
}

// A dry run's counts from its report.
TPassResult DryRunCounts(const TTableReport& table) {
  return {table.Examined, table.WillChange.Count, 0, true};
}

}  // namespace

std::string TakeReplaceLock(TReplaceLock& lock) {
  switch (lock.AcquireForInstallation()) {
    case TReplaceLock::TResult::Held:
      return {};
    case TReplaceLock::TResult::Busy:
      return LoadStr(64870);
    case TReplaceLock::TResult::Failed:
      break;
  }
  return Format(LoadStr(lock.OnServer() ? 64876 : 64875), {lock.Path(), lock.Reason()});
}

TReplaceResult ReplaceDocsPath(TComponent& owner, const std::string& oldPathText,
                               const std::string& newPathText, const TReplaceOptions& options) {
  TUiServices& ui = Platform().Ui();
  TReplaceResult result;
  const std::string oldPath = UpperCase(oldPathText);
  if (Trim(newPathText).empty()) {
    ui.ShowMessage(LoadStr(65023), TMessageKind::mkWarning);
    result.Outcome = TReplaceOutcome::BlankNewPath;
    return result;
  }
  if (const std::string refusal = PathTextRefusal(oldPathText, newPathText); !refusal.empty()) {
    ui.ShowMessage(refusal, TMessageKind::mkWarning);
    result.Outcome = TReplaceOutcome::RefusedPath;
    return result;
  }
  // The new path is handed on exactly as typed, blanks included.
  const std::string& newPath = newPathText;
  // A resumed run leaves alone the records it already rewrote, so it is safe to finish.
  if (!options.DryRun && options.ResumeRun.empty() && NewFolderUnderOld(oldPath, newPath) &&
      !AcceptNewUnderOld(options, oldPathText, newPathText)) {
    result.Outcome = TReplaceOutcome::NewUnderOld;
    return result;
  }
  if (!options.DryRun &&
      (!WarnOfOtherStations(options.OtherStationsPrompt) || !ui.ConfirmYesNo(LoadStr(64992)))) {
    result.Outcome = TReplaceOutcome::NotConfirmed;
    return result;
  }
  // One replace at a time per installation, from the confirmation to the clean-up. A dry run
  // writes nothing and needs no lock.
  TReplaceLock replaceLock;
  if (!options.DryRun) {
    if (const std::string refusal = TakeReplaceLock(replaceLock); !refusal.empty()) {
      ui.ShowMessage(refusal, TMessageKind::mkWarning);
      result.Outcome = TReplaceOutcome::Busy;
      return result;
    }
  }

  TDefaultCursorOnExit defaultCursor(ui);
  ui.SetCursor(TCursorKind::crHourGlass);
  const bool logIt = !options.DryRun;
  std::unique_ptr<TDatDocsDBServicesDM> docsDM;
  std::unique_ptr<TJournalledRun> run;
  try {
    if (logIt) LogEvent("Change Docs Path", oldPathText + "\r\n" + newPathText);
    TPassOptions docsPass{options.DryRun, options.DocsObserver};
    TPassOptions cardsPass{options.DryRun, options.CardsObserver};
    if (logIt && options.Journal) {
      run = std::make_unique<TJournalledRun>("replace", oldPathText, newPathText, std::string(),
                                             options.ResumeRun);
      result.RunId = run->RunId();
      docsPass = run->Pass(docsPass, kDocsTable);
      cardsPass = run->Pass(cardsPass, kCardsTable);
    }
    docsDM = std::make_unique<TDatDocsDBServicesDM>(&owner);
    if (options.DryRun && options.Report) {
      *options.Report = MakePreflightReport(oldPath, newPath, options.FileCheck,
                                            options.DocsObserver, options.CardsObserver);
      result.Docs = DryRunCounts(options.Report->Docs);
      result.Cards = DryRunCounts(options.Report->Cards);
    } else {
      result.Docs = docsDM->ChangeDocPathInDocs(oldPath, newPath, docsPass);
      result.Cards = ChangeDocPathInCards(&owner, oldPath, newPath, cardsPass);
    }
    if (options.PassesEnded) options.PassesEnded();
    result.Outcome = result.Docs.Completed && result.Cards.Completed
                         ? TReplaceOutcome::Completed
                         : TReplaceOutcome::NotCompleted;
    if (run) run->End(result.Outcome == TReplaceOutcome::Completed);
    ui.SetCursor(TCursorKind::crDefault);
    if (result.Outcome == TReplaceOutcome::Completed && !options.DryRun)
      ui.ShowMessage(LoadStr(64993), TMessageKind::mkInformation);
  } catch (...) {
    CleanUp(docsDM, logIt);
    throw;
  }
  CleanUp(docsDM, logIt);
  return result;
}
