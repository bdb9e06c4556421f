#include "app/console/ConsoleJournalCommands.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleJson.h"
#include "app/console/ConsoleJsonRuns.h"
#include "app/console/ConsoleRewriteRun.h"
#include "commands/PathUndoCommand.h"
#include "commands/RunListLine.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/journal/JournalledRun.h"
#include "docpaths/journal/PathJournal.h"
#include "docpaths/journal/RunFolders.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {

// The details of a run: its line, its folders with what it wrote under each, its state.
void PrintRunDetails(std::ostream& out, const TPathRun& run, const TRunFolders& folders) {
  out << RunListLine(run) << std::endl;
  for (size_t row = 0; row < folders.Rows.size(); ++row)
    out << Format(LoadStr(sFolderCountsLine), {folders.Rows[row].Old, folders.Rows[row].New,
                                               folders.Counts[row].Docs, folders.Counts[row].Cards})
        << std::endl;
  if (folders.Unmatched.Docs != 0 || folders.Unmatched.Cards != 0)
    out << Format(LoadStr(sFolderCountsUnmatched),
                  {folders.Unmatched.Docs, folders.Unmatched.Cards})
        << std::endl;
  if (!run.UndoneBy.empty())
    out << Format(LoadStr(sShowRunUndone), {run.UndoneBy}) << std::endl;
  else if (run.Incomplete())
    out << Format(LoadStr(sShowRunIncomplete), {ResumeCommandLine(run.RunId)}) << std::endl;
  else
    out << Format(LoadStr(sShowRunComplete), {UndoCommandLine(run.RunId)}) << std::endl;
}

// Runs print on the journal; a journal that cannot be read is told and ends with ecFailed.
int OnJournal(TConsoleSession& session, const std::function<int(TPathJournal&)>& print) {
  TPathJournal journal;
  try {
    return print(journal);
  } catch (const EADSDatabaseError& e) {
    const std::string text = Format(LoadStr(sJournalUnreadable), {e.Message()});
    Platform().Ui().ShowMessage(text, TMessageKind::mkError);
    if (session.Json) session.Json->Error(text);
    return ecFailed;
  }
}

}  // namespace

int RunConsoleListRuns(TConsoleSession& session) {
  return OnJournal(session, [&](TPathJournal& journal) {
    nlohmann::ordered_json runs = nlohmann::ordered_json::array();
    if (!journal.Exists()) {
      session.Out << "No run is journalled in this database." << std::endl;
    } else {
      for (const TPathRun& run : journal.Runs()) {
        session.Out << RunListLine(run) << std::endl;
        runs.push_back(RunJson(run));
      }
    }
    if (session.Json) {
      session.Json->Outcome("completed");
      session.Json->Object()["runs"] = std::move(runs);
    }
    return ecCompleted;
  });
}

int RunConsoleShowRun(TConsoleSession& session) {
  const std::string& runId = session.Args.Run;
  return OnJournal(session, [&](TPathJournal& journal) {
    if (journal.Exists() && RunNumber(runId) != 0)
      for (const TPathRun& run : journal.Runs())
        if (RunNumber(run.RunId) == RunNumber(runId)) {
          const TRunFolders folders = CountRunFolders(journal, run);
          PrintRunDetails(session.Out, run, folders);
          if (session.Json) {
            session.Json->Outcome("completed");
            AddRunDetailsJson(session.Json->Object(), run, folders);
          }
          return ecCompleted;
        }
    const std::string refusal = Format(LoadStr(sNoSuchRun), {runId});
    Platform().Ui().ShowMessage(refusal, TMessageKind::mkWarning);
    if (session.Json) {
      session.Json->Outcome("refused");
      session.Json->Error(refusal);
    }
    return ecRefused;
  });
}

int RunConsoleUndo(TConsoleSession& session) {
  TConsoleRewriteRun run(session);
  return run.Finish(UndoPathRun(session.Program, session.Args.Run, run.Options()));
}

int RunConsoleResume(TConsoleSession& session) {
  TConsoleRewriteRun run(session);
  return run.Finish(ResumePathRun(session.Program, session.Args.Run, run.Options()));
}
