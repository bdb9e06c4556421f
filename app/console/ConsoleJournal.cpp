#include "app/console/ConsoleJournal.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "app/console/ConsoleExitCodes.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/journal/JournalledRun.h"
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

int RunJournalCommand(TComponent& program, const TJournalArgs& args, const TReplaceOptions& options,
                      const std::function<int(const TCommandResult&)>& report, std::ostream& out) {
  if (args.ListRuns) return ListRuns(out);
  if (!args.UndoRun.empty()) return report(UndoPathRun(program, args.UndoRun, options));
  return report(ResumePathRun(program, args.ResumeRun, options));
}

void PrintRunLine(std::ostream& out, const std::string& runId) {
  if (!runId.empty()) out << Format(LoadStr(64947), {runId, UndoCommandLine(runId)}) << std::endl;
}

void PrintUndoTally(std::ostream& out, const TUndoTally& tally) {
  if (tally.LeftAlone() == 0) return;
  out << Format(LoadStr(64948), {tally.LeftAlone(), tally.ChangedSince, tally.DeletedSince})
      << std::endl;
  for (const std::string& sample : tally.Samples) out << "  " << sample << std::endl;
}
