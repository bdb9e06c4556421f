#include "commands/PathUndoCommand.h"

#include <memory>

#include "commands/JournalChecks.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/journal/JournalledRun.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {

// Once run's standing changed, the marks of the undos below it follow, down the chain: the run
// of an undo that no longer stands (or never completed) stands again, as undoing an undo puts
// that run's paths back; the run of a complete undo that stands again is undone once more.
void MarkBelow(TPathJournal& journal, TPathRun run) {
  while (run.Kind == "undo") {
    std::optional<TPathRun> below = journal.FindRun(run.Target);
    if (!below) return;
    const bool stands = !run.Incomplete() && run.UndoneBy.empty();
    if (stands && below->UndoneBy.empty()) {
      below->UndoneBy = run.RunId;
      journal.SetUndoneBy(below->RunId, below->UndoneBy);
    } else if (!stands && below->UndoneBy == run.RunId) {
      below->UndoneBy.clear();
      journal.SetUndoneBy(below->RunId, "");
    }
    run = std::move(*below);
  }
}

std::optional<TCommandOutcome> RefuseComplete(const TPathRun& run) {
  if (run.Incomplete()) return std::nullopt;
  Platform().Ui().ShowMessage(Format(LoadStr(sRunComplete), {run.RunId}), TMessageKind::mkWarning);
  return TCommandOutcome::Refused;
}

class TUndoCommand : public TRewriteCommand {
 public:
  TUndoCommand(const std::string& runId, const std::string& resuming)
      : runId_(runId), resuming_(resuming) {}

  std::optional<TCommandOutcome> Check(bool dryRun, bool afterLock) override {
    return ReadJournal([&](TPathJournal& journal) -> std::optional<TCommandOutcome> {
      if (!resuming_.empty()) {
        if (auto refusal = FindRun(journal, resuming_, undo_)) return refusal;
        if (auto refusal = RefuseUndone(undo_)) return refusal;
        if (auto refusal = RefuseComplete(undo_)) return refusal;
      }
      if (auto refusal = FindRun(journal, runId_, run_)) return refusal;
      if (auto refusal = RefuseUndone(run_)) return refusal;
      if (auto refusal = RefuseUnfinishedUndo(journal, run_, undo_.RunId)) return refusal;
      if (resuming_.empty()) {
        if (auto refusal = RefuseUndoOfUnfinished(journal, run_)) return refusal;
      }
      // Before the confirmation of a real undo the rows are only counted; they are read once
      // the lock is held.
      if (!dryRun && !afterLock) {
        if (auto refusal = RefuseMissingRows(run_, journal.RowCounts(run_.RunId))) return refusal;
        if (undo_.RunId.empty()) return std::nullopt;
        return RefuseMissingRows(undo_, journal.RowCounts(undo_.RunId));
      }
      return ReadRows(journal);
    });
  }

  std::string Question() const override {
    return Format(LoadStr(sUndoQuestion), {run_.RunId, run_.NewFolder, run_.OldFolder});
  }
  std::string LogName() const override { return "Undo Docs Path"; }
  std::string LogText() const override {
    return "Run " + run_.RunId + "\r\n" + run_.NewFolder + "\r\n" + run_.OldFolder;
  }
  std::unique_ptr<TJournalledRun> BeginRun() override {
    return std::make_unique<TJournalledRun>("undo", run_.NewFolder, run_.OldFolder, run_.RunId,
                                            undo_.RunId.empty() ? nullptr : &soFar_);
  }

  // An undo being resumed already put back what it journalled: ReadRows left those out.
  void WalkDocs(const TPassOptions& pass, TCommandResult& result) override {
    result.Undo = true;
    UndoTableField(kDocsPass, docs_, NoSkipping(pass), result.Docs, result.Tally);
  }
  void WalkCards(const TPassOptions& pass, TCommandResult& result) override {
    UndoTableField(kCardsPass, cards_, NoSkipping(pass), result.Cards, result.Tally);
  }
  bool WalksPrefs() const override { return !prefs_.empty(); }
  void WalkPrefs(const TPassOptions& pass, TCommandResult& result) override {
    UndoTableField(kPrefPass, prefs_, NoSkipping(pass), result.Prefs, result.Tally);
  }
  std::string PrefFailureName() const override { return "UndoDocPathInPrefs"; }
  std::string CardFailureName() const override { return "UndoDocPathInCards"; }
  std::string CardFailureText() const override { return "Run " + run_.RunId; }

  void RunEnded(TJournalledRun& run, bool completed) override {
    if (!completed) return;  // resumed, it is finished first
    TPathJournal journal;
    journal.SetUndoneBy(run_.RunId, run.RunId());
    TPathRun undone = run_;
    undone.UndoneBy = run.RunId();
    MarkBelow(journal, undone);
  }

 private:
  // The journal rows of the run, less those the undo being resumed already put back; refused
  // when the journal holds fewer than the run (or the undo) recorded writing.
  std::optional<TCommandOutcome> ReadRows(TPathJournal& journal) {
    TJournalTableRows docs = journal.Rows(run_.RunId, kDocsPass);
    TJournalTableRows cards = journal.Rows(run_.RunId, kCardsPass);
    TJournalTableRows prefs = journal.Rows(run_.RunId, kPrefPass);
    if (auto refusal = RefuseMissingRows(run_, {{kDocsPass.Name, docs.Read},
                                                {kCardsPass.Name, cards.Read},
                                                {kPrefPass.Name, prefs.Read}}))
      return refusal;
    docs_ = std::move(docs.Rows);
    cards_ = std::move(cards.Rows);
    prefs_ = std::move(prefs.Rows);
    if (undo_.RunId.empty()) return std::nullopt;
    soFar_ = ReadRunSoFar(journal, undo_.RunId);
    if (auto refusal = RefuseMissingRows(undo_, soFar_.Rows)) return refusal;
    for (const std::string& id : soFar_.Done[kDocsPass.Name]) docs_.erase(id);
    for (const std::string& id : soFar_.Done[kCardsPass.Name]) cards_.erase(id);
    for (const std::string& id : soFar_.Done[kPrefPass.Name]) prefs_.erase(id);
    return std::nullopt;
  }
  static TPassOptions NoSkipping(TPassOptions pass) {
    pass.SkipRecIds = nullptr;
    return pass;
  }

  const std::string runId_;
  const std::string resuming_;
  TPathRun run_;   // the run to undo
  TPathRun undo_;  // the undo being resumed
  TJournalRows docs_;
  TJournalRows cards_;
  TJournalRows prefs_;
  TRunSoFar soFar_;
};

}  // namespace

TCommandResult UndoPathRun(TComponent& owner, const std::string& runId,
                           const TCommandOptions& options, const std::string& resuming) {
  TUndoCommand command(runId, resuming);
  return RunRewriteCommand(owner, command, options);
}

TCommandResult ResumePathRun(TComponent& owner, const std::string& runId,
                             const TReplaceOptions& options) {
  TPathRun run;
  if (auto refusal =
          ReadJournal([&](TPathJournal& journal) { return FindRun(journal, runId, run); })) {
    TCommandResult result;
    result.Outcome = *refusal;
    return result;
  }
  if (run.Kind == "undo") return UndoPathRun(owner, run.Target, options, run.RunId);
  return ResumeReplaceRun(owner, run, options);
}
