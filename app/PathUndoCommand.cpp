#include "app/PathUndoCommand.h"

#include <memory>

#include "common/Format.h"
#include "common/StrTable.h"
#include "db/ReplaceLock.h"
#include "docs/JournalledRun.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {

void Refuse(const std::string& message, TMessageKind kind = TMessageKind::mkWarning) {
  Platform().Ui().ShowMessage(message, kind);
}

// The run of that id, or the refusal shown and its outcome.
std::optional<TPathRun> FindJournalledRun(TPathJournal& journal, const std::string& runId,
                                          TJournalOutcome& refusal) {
  try {
    if (!journal.Exists()) {
      Refuse(LoadStr(64943), TMessageKind::mkError);
      refusal = TJournalOutcome::NoJournal;
      return std::nullopt;
    }
    if (auto run = journal.FindRun(runId)) return run;
  } catch (const EADSDatabaseError& e) {
    Refuse(Format(LoadStr(64944), {e.Message()}), TMessageKind::mkError);
    refusal = TJournalOutcome::NoJournal;
    return std::nullopt;
  }
  Refuse(Format(LoadStr(64941), {runId}));
  refusal = TJournalOutcome::Refused;
  return std::nullopt;
}

bool AlreadyUndone(const TPathRun& run) {
  if (run.UndoneBy.empty()) return false;
  Refuse(Format(LoadStr(64942), {run.RunId, run.UndoneBy}));
  return true;
}

// The journal rows of both tables, less those an undo being resumed has already put back.
bool ReadRows(TPathJournal& journal, const std::string& runId, const std::string& resumeRun,
              TJournalRows& docs, TJournalRows& cards) {
  try {
    docs = journal.Rows(runId, kDocsTable, kDocsField);
    cards = journal.Rows(runId, kCardsTable, kCardsField);
    if (!resumeRun.empty()) {
      for (const auto& [id, row] : journal.Rows(resumeRun, kDocsTable, kDocsField)) docs.erase(id);
      for (const auto& [id, row] : journal.Rows(resumeRun, kCardsTable, kCardsField))
        cards.erase(id);
    }
    return true;
  } catch (const EADSDatabaseError& e) {
    Refuse(Format(LoadStr(64944), {e.Message()}), TMessageKind::mkError);
    return false;
  }
}

// Confirmation, other stations and the replace lock, as the replace asks them.
bool MayWrite(const std::string& question, const TOtherStationsPrompt& prompt, TReplaceLock& lock) {
  if (!WarnOfOtherStations(prompt) || !Platform().Ui().ConfirmYesNo(question)) return false;
  if (const std::string refusal = TakeReplaceLock(lock); !refusal.empty()) {
    Refuse(refusal);
    return false;
  }
  return true;
}

}  // namespace

TUndoResult UndoPathRun(const std::string& runId, const TUndoOptions& options) {
  TUndoResult result;
  TPathJournal journal;
  const std::optional<TPathRun> run = FindJournalledRun(journal, runId, result.Outcome);
  if (!run || AlreadyUndone(*run)) return result;
  TJournalRows docs, cards;
  if (!ReadRows(journal, run->RunId, options.ResumeRun, docs, cards)) {
    result.Outcome = TJournalOutcome::NoJournal;
    return result;
  }
  TReplaceLock lock;
  if (!options.DryRun &&
      !MayWrite(Format(LoadStr(64940), {run->RunId, run->NewFolder, run->OldFolder}),
                options.OtherStationsPrompt, lock))
    return result;

  std::unique_ptr<TJournalledRun> undoRun;
  TPassOptions pass{options.DryRun};
  TPassOptions docsPass = pass, cardsPass = pass;
  if (!options.DryRun) {
    LogEvent("Undo Docs Path",
             "Run " + run->RunId + "\r\n" + run->NewFolder + "\r\n" + run->OldFolder);
    undoRun = std::make_unique<TJournalledRun>("undo", run->NewFolder, run->OldFolder, run->RunId,
                                               options.ResumeRun);
    result.RunId = undoRun->RunId();
    docsPass = undoRun->Pass(pass, kDocsTable);
    cardsPass = undoRun->Pass(pass, kCardsTable);
    // An undo being resumed already put back what it journalled: ReadRows left those out.
    docsPass.SkipRecIds = cardsPass.SkipRecIds = nullptr;
  }
  UndoTableField(kDocsTable, kDocsField, docs, docsPass, result.Docs, result.Tally);
  UndoTableField(kCardsTable, kCardsField, cards, cardsPass, result.Cards, result.Tally);
  if (undoRun) {
    undoRun->End(true);
    journal.SetUndoneBy(run->RunId, undoRun->RunId());
    // Undoing an undo puts its run's changes back: that run stands again.
    if (run->Kind == "undo" && !run->Target.empty()) journal.SetUndoneBy(run->Target, "");
  }
  const TUndoTally& tally = result.Tally;
  result.Outcome = tally.ChangedSince + tally.DeletedSince > 0 ? TJournalOutcome::Skipped
                                                               : TJournalOutcome::Completed;
  return result;
}

TResumeResult ResumePathRun(TComponent& owner, const std::string& runId,
                            const TReplaceOptions& options) {
  TResumeResult result;
  TPathJournal journal;
  const std::optional<TPathRun> run = FindJournalledRun(journal, runId, result.Outcome);
  if (!run || AlreadyUndone(*run)) return result;
  if (!run->Incomplete()) {
    Refuse(Format(LoadStr(64945), {run->RunId}));
    return result;
  }
  if (run->Kind == "undo") {
    result.WasUndo = true;
    TUndoOptions undo{options.DryRun, options.OtherStationsPrompt, run->RunId};
    result.Undo = UndoPathRun(run->Target, undo);
    result.Outcome = result.Undo.Outcome;
    return result;
  }
  TReplaceOptions resume = options;
  resume.ResumeRun = run->RunId;
  resume.Journal = true;
  result.Replace = ReplaceDocsPath(owner, run->OldFolder, run->NewFolder, resume);
  switch (result.Replace.Outcome) {
    case TReplaceOutcome::Completed:
      result.Outcome = TJournalOutcome::Completed;
      break;
    case TReplaceOutcome::NotCompleted:
      result.Outcome = TJournalOutcome::NotCompleted;
      break;
    default:
      result.Outcome = TJournalOutcome::Refused;
  }
  return result;
}
