#include "app/console/ConsoleRewriteRun.h"

#include <numeric>
#include <ostream>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleJson.h"
#include "app/console/ConsoleJsonResult.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/journal/JournalledRun.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

TConsoleRewriteRun::TConsoleRewriteRun(TConsoleSession& session)
    : session_(session),
      docs_(session.Err, "Documents", session.Terminal.StderrIsTerminal),
      cards_(session.Err, "Cards", session.Terminal.StderrIsTerminal) {
  const TConsoleArgs& args = session.Args;
  // Watching costs a count of each table: only when there is something to show.
  const bool watch = args.DryRun || session.Terminal.StderrIsTerminal;
  options_.DryRun = args.DryRun;
  options_.DocsObserver = watch ? &docs_ : nullptr;
  options_.CardsObserver = watch ? &cards_ : nullptr;
  options_.FileCheck = args.Files;
  options_.Journal = !args.NoJournal;
  options_.NewUnderOldPrompt = [&args](const std::string& oldPath, const std::string& newPath) {
    if (!args.Force)
      Platform().Ui().ShowMessage(Format(LoadStr(sNewUnderOldRefused), {newPath, oldPath}),
                                  TMessageKind::mkWarning);
    return args.Force;
  };
  options_.Preferences = args.Preferences == "update" ? TPrefChoice::Update
                         : args.Preferences == "keep" ? TPrefChoice::Keep
                                                      : TPrefChoice::Ask;
  // --yes answers the confirmation only: a script says --preferences, or they are kept and the
  // run says how many still name the old folder.
  options_.PreferencesPrompt = [&args, terminal = session.Terminal.StdinIsTerminal](int64_t count) {
    return terminal && !args.Yes &&
           Platform().Ui().ConfirmYesNo(Format(LoadStr(sPrefsQuestion), {count}));
  };
  // A failure of the document pass ends the command by propagating: the object still tells what
  // the passes did and the run to resume.
  options_.Unfinished = [this](const TCommandResult& result) {
    if (!session_.Json) return;
    try {
      AddRewriteResult(*session_.Json, result, session_.Args.DryRun, false);
    } catch (...) {
      // The failure that ended the command is what the caller is told.
    }
  };
  options_.OtherStationsPrompt = [&session](int count) {
    session.Err << OtherStationsCountLine(count) << "\n" << OtherStationsAdvice() << std::endl;
    const bool goOn = Platform().Ui().ConfirmYesNo(LoadStr(sContinueWhileOpen));
    if (goOn && session.Json) session.Json->Warning(OtherStationsCountLine(count));
    return goOn;
  };
}

TConsoleRewriteRun::~TConsoleRewriteRun() {
  docs_.Finish();
  cards_.Finish();
}

int TConsoleRewriteRun::Finish(const TCommandResult& result) {
  docs_.Finish();
  cards_.Finish();
  if (session_.Json)
    AddRewriteResult(*session_.Json, result, session_.Args.DryRun,
                     options_.Preferences == TPrefChoice::Ask);
  std::ostream& out = session_.Out;
  switch (result.Outcome) {
    case TCommandOutcome::BlankNewPath:
    case TCommandOutcome::RefusedPath:
    case TCommandOutcome::NewUnderOld:
    case TCommandOutcome::RefusedMapping:
    case TCommandOutcome::Refused:
    case TCommandOutcome::Busy:
    case TCommandOutcome::NotConfirmed:
      return ecRefused;
    case TCommandOutcome::NoJournal:
      return ecFailed;
    case TCommandOutcome::Interrupted:
      TellConsoleError(session_, StoppedRunText(result));
      return StoppedExitCode(result.StopSignal);
    case TCommandOutcome::Completed:
    case TCommandOutcome::NotCompleted:
      break;
  }
  const bool dryRun = session_.Args.DryRun;
  if (dryRun) out << "Dry run: nothing was changed." << std::endl;
  PrintPass("Documents", result.Docs, result, &docs_);
  PrintPass("Cards", result.Cards, result, &cards_);
  if (result.PrefsWalked) PrintPass("Preferences", result.Prefs, result, nullptr);
  PrintByFolder(out, result);
  PrintUndoTally(out, result.Tally);
  PrintRunLine(out, result.RunId);
  if (result.PrefsLeft > 0 && options_.Preferences == TPrefChoice::Ask)
    out << Format(LoadStr(sPrefsLeftNotice), {result.PrefsLeft}) << std::endl;
  if (result.Outcome != TCommandOutcome::Completed) return ecFailed;
  return !dryRun && result.Tally.LeftAlone() > 0 ? ecRefused : ecCompleted;
}

void TConsoleRewriteRun::PrintPass(const char* table, const TPassResult& pass,
                                   const TCommandResult& result,
                                   const TConsolePassWatcher* watcher) const {
  const bool dryRun = session_.Args.DryRun;
  const char* verb = result.Undo ? (dryRun ? " to restore" : " restored")
                                 : (dryRun ? " to rewrite" : " rewritten");
  std::ostream& out = session_.Out;
  out << table << ": " << pass.Examined << " examined, " << pass.Rewritten << verb;
  if (pass.ChangedByOthers > 0)
    out << ", " << pass.ChangedByOthers << " changed by another station";
  out << std::endl;
  if (!dryRun || !watcher) return;
  for (const auto& [oldValue, newValue] : watcher->Samples())
    out << "  " << oldValue << " -> " << newValue << std::endl;
}

void PrintRunLine(std::ostream& out, const std::string& runId) {
  if (!runId.empty())
    out << Format(LoadStr(sRunJournalled), {runId, UndoCommandLine(runId)}) << std::endl;
}

int64_t UncommittedByFolder(const TCommandResult& result) {
  int64_t lost = 0;
  for (const TPassResult* pass : {&result.Docs, &result.Cards})
    lost += std::accumulate(pass->ByRow.begin(), pass->ByRow.end(), int64_t{0}) - pass->Rewritten;
  return lost;
}

void PrintByFolder(std::ostream& out, const TCommandResult& result) {
  const TFolderMappingRows& rows = result.Mappings;
  if (rows.empty()) return;
  const int64_t lost = UncommittedByFolder(result);
  if (lost != 0) {
    out << Format(LoadStr(sFolderCountsUnknown), {lost}) << std::endl;
    if (!result.RunId.empty())
      out << Format(LoadStr(sFolderCountsFromJournal), {ShowRunCommandLine(result.RunId)})
          << std::endl;
    return;
  }
  const auto count = [](const TPassResult& pass, size_t row) {
    return row < pass.ByRow.size() ? pass.ByRow[row] : int64_t{0};
  };
  for (size_t row = 0; row < rows.size(); ++row)
    out << Format(LoadStr(sFolderCountsLine),
                  {rows[row].Old, rows[row].New, count(result.Docs, row), count(result.Cards, row)})
        << std::endl;
}

void PrintUndoTally(std::ostream& out, const TUndoTally& tally) {
  if (tally.LeftAlone() == 0) return;
  out << Format(LoadStr(sUndoLeftAlone),
                {tally.LeftAlone(), tally.ChangedSince, tally.DeletedSince})
      << std::endl;
  for (const std::string& sample : tally.Samples) out << "  " << sample << std::endl;
}
