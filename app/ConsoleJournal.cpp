#include "app/ConsoleJournal.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "app/ConsoleProgram.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docs/JournalledRun.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {

int ListRuns(std::ostream& out) {
  TPathJournal journal;
  try {
    if (!journal.Exists()) {
      out << "No run is journalled in this database." << std::endl;
      return ecCompleted;
    }
    for (const TPathRun& run : journal.Runs()) {
      out << run.RunId << "  " << run.Started << "  " << run.OldFolder << " -> " << run.NewFolder
          << "  Docs " << run.Docs << ", Cards " << run.Cards << "  "
          << (run.Kind == "undo" ? "undo of " + run.Target : run.Kind);
      if (!run.UndoneBy.empty()) out << ", undone by " << run.UndoneBy;
      if (run.Incomplete()) out << ", incomplete";
      out << std::endl;
    }
  } catch (const EADSDatabaseError& e) {
    Platform().Ui().ShowMessage(Format(LoadStr(64944), {e.Message()}), TMessageKind::mkError);
    return ecFailed;
  }
  return ecCompleted;
}

int ReportUndo(const TUndoResult& result, bool dryRun, std::ostream& out) {
  switch (result.Outcome) {
    case TJournalOutcome::Refused:
      return ecRefused;
    case TJournalOutcome::NoJournal:
      return ecFailed;
    default:
      break;
  }
  if (dryRun) out << "Dry run: nothing was changed." << std::endl;
  const char* verb = dryRun ? " to restore" : " restored";
  out << "Documents: " << result.Docs.Examined << " examined, " << result.Docs.Rewritten << verb
      << "\nCards: " << result.Cards.Examined << " examined, " << result.Cards.Rewritten << verb
      << std::endl;
  const TUndoTally& tally = result.Tally;
  if (tally.ChangedSince + tally.DeletedSince > 0) {
    out << Format(LoadStr(64948),
                  {tally.ChangedSince + tally.DeletedSince, tally.ChangedSince, tally.DeletedSince})
        << std::endl;
    for (const std::string& sample : tally.Samples) out << "  " << sample << std::endl;
  }
  PrintRunLine(out, result.RunId);
  if (dryRun) return ecCompleted;
  return result.Outcome == TJournalOutcome::Completed ? ecCompleted : ecRefused;
}

}  // namespace

void AddJournalOptions(CLI::App& app, TJournalArgs& args) {
  auto* list = app.add_flag("--list-runs", args.ListRuns, "list the journalled runs, oldest first");
  auto* undo = app.add_option("--undo", args.UndoRun,
                              "undo the run RUN: put back every path it wrote that nobody changed "
                              "since");
  auto* resume = app.add_option("--resume", args.ResumeRun, "finish the incomplete run RUN");
  auto* noJournal = app.add_flag("--no-journal", args.NoJournal, "replace without an undo journal");
  list->excludes(undo)->excludes(resume)->excludes(noJournal);
  undo->excludes(resume)->excludes(noJournal);
  resume->excludes(noJournal);
}

bool JournalCommandGiven(const TJournalArgs& args) {
  return args.ListRuns || !args.UndoRun.empty() || !args.ResumeRun.empty();
}

int RunJournalCommand(TComponent& program, const TJournalArgs& args, const TReplaceOptions& replace,
                      const std::function<int(const TReplaceResult&)>& reportReplace,
                      std::ostream& out) {
  if (args.ListRuns) return ListRuns(out);
  if (!args.UndoRun.empty()) {
    TUndoOptions options;
    options.DryRun = replace.DryRun;
    options.OtherStationsPrompt = replace.OtherStationsPrompt;
    return ReportUndo(UndoPathRun(args.UndoRun, options), replace.DryRun, out);
  }
  const TResumeResult resumed = ResumePathRun(program, args.ResumeRun, replace);
  if (resumed.WasUndo) return ReportUndo(resumed.Undo, replace.DryRun, out);
  if (resumed.Outcome == TJournalOutcome::NoJournal) return ecFailed;
  // A refusal before the replace leaves it NotConfirmed: the report answers ecRefused.
  return reportReplace(resumed.Replace);
}

void PrintRunLine(std::ostream& out, const std::string& runId) {
  if (!runId.empty()) out << Format(LoadStr(64947), {runId, UndoCommandLine(runId)}) << std::endl;
}
