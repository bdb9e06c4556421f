#include "commands/JournalChecks.h"

#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/journal/JournalledRun.h"
#include "platform/EADSDatabaseError.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {

TCommandOutcome Refuse(TCommandOutcome outcome, const std::string& message,
                       TMessageKind kind = TMessageKind::mkWarning) {
  Platform().Ui().ShowMessage(message, kind);
  return outcome;
}

}  // namespace

std::optional<TCommandOutcome> ReadJournal(
    const std::function<std::optional<TCommandOutcome>(TPathJournal&)>& checks) {
  TPathJournal journal;
  try {
    return checks(journal);
  } catch (const EADSDatabaseError& e) {
    return Refuse(TCommandOutcome::NoJournal, Format(LoadStr(sJournalUnreadable), {e.Message()}),
                  TMessageKind::mkError);
  }
}

std::optional<TCommandOutcome> FindRun(TPathJournal& journal, const std::string& runId,
                                       TPathRun& run) {
  if (!journal.Exists())
    return Refuse(TCommandOutcome::NoJournal, LoadStr(sNoJournal), TMessageKind::mkError);
  if (auto found = journal.FindRun(runId)) {
    run = std::move(*found);
    return std::nullopt;
  }
  return Refuse(TCommandOutcome::Refused, Format(LoadStr(sNoSuchRun), {runId}));
}

std::optional<TCommandOutcome> RefuseUndone(const TPathRun& run) {
  if (run.UndoneBy.empty()) return std::nullopt;
  return Refuse(TCommandOutcome::Refused,
                Format(LoadStr(sRunAlreadyUndone), {run.RunId, run.UndoneBy}));
}

std::optional<TCommandOutcome> RefuseUnfinishedUndo(TPathJournal& journal, const TPathRun& run,
                                                    const std::string& resuming) {
  for (const TPathRun& other : journal.Runs(false)) {
    if (other.Kind != "undo" || RunNumber(other.Target) != RunNumber(run.RunId) ||
        !other.Incomplete() || !other.UndoneBy.empty() || other.RunId == resuming)
      continue;
    return Refuse(
        TCommandOutcome::Refused,
        Format(LoadStr(sUnfinishedUndo), {run.RunId, other.RunId, ResumeCommandLine(other.RunId)}));
  }
  return std::nullopt;
}

std::optional<TCommandOutcome> RefuseUndoOfUnfinished(TPathJournal& journal, const TPathRun& run) {
  if (run.Kind != "undo") return std::nullopt;
  const std::optional<TPathRun> undone = journal.FindRun(run.Target);
  if (!undone || !undone->Incomplete()) return std::nullopt;
  return Refuse(TCommandOutcome::Refused,
                Format(LoadStr(sUndoOfUnfinishedRun), {run.RunId, undone->RunId}));
}

std::optional<TCommandOutcome> RefuseMissingRows(const TPathRun& run,
                                                 const std::map<std::string, int64_t>& rows) {
  const int64_t missing = MissingJournalRows(run, rows);
  if (missing == 0) return std::nullopt;
  return Refuse(TCommandOutcome::NoJournal,
                Format(LoadStr(sJournalRowsMissing), {run.RunId, missing}), TMessageKind::mkError);
}
