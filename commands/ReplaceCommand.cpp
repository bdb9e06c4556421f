#include "commands/ReplaceCommand.h"

#include <memory>

#include "commands/JournalChecks.h"
#include "common/Format.h"
#include "common/PathTextCheck.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "docpaths/journal/JournalledRun.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {

// The message refusing the first path text no Windows path can be; empty when both can be.
std::string PathTextRefusal(const std::string& oldPath, const std::string& newPath) {
  for (const auto& [text, isNew] : {std::pair{&oldPath, false}, std::pair{&newPath, true}})
    if (const TPathTextFault fault = CheckPathText(*text); fault != TPathTextFault::None)
      return LoadStr(PathTextFaultMessage(fault, isNew));
  return {};
}

// A dry run's counts from its report.
TPassResult DryRunCounts(const TTableReport& table) {
  return {table.Examined, table.WillChange.Count, 0, true};
}

class TReplaceCommand : public TRewriteCommand {
 public:
  TReplaceCommand(TComponent& owner, const std::string& oldPathText, const std::string& newPathText,
                  const TReplaceOptions& options, const TPathRun* resume)
      : owner_(owner),
        oldPathText_(oldPathText),
        newPathText_(newPathText),
        oldPath_(UpperCase(oldPathText)),
        options_(options),
        resume_(resume) {}

  std::optional<TCommandOutcome> Check(bool dryRun, bool afterLock) override {
    if (!afterLock) {
      TUiServices& ui = Platform().Ui();
      if (Trim(newPathText_).empty()) {
        ui.ShowMessage(LoadStr(sEnterNewPath), TMessageKind::mkWarning);
        return TCommandOutcome::BlankNewPath;
      }
      if (const std::string refusal = PathTextRefusal(oldPathText_, newPathText_);
          !refusal.empty()) {
        ui.ShowMessage(refusal, TMessageKind::mkWarning);
        return TCommandOutcome::RefusedPath;
      }
    }
    if (!resume_) return std::nullopt;
    // What the run already rewrote is read once the lock is held: the resume skips exactly
    // those records. A dry run, which takes no lock, reads it now and counts without them.
    return CheckResumable(dryRun || afterLock);
  }

  // A resumed run leaves alone the records it already rewrote, so it is safe to finish.
  bool AcceptHazard() override {
    if (resume_ || !NewFolderUnderOld(oldPath_, newPathText_)) return true;
    if (options_.NewUnderOldPrompt) return options_.NewUnderOldPrompt();
    return Platform().Ui().ConfirmYesNo(
        Format(LoadStr(sNewUnderOldQuestion), {newPathText_, oldPathText_}));
  }
  std::string Question() const override { return LoadStr(sStartUpdatingQuestion); }
  std::string LogName() const override { return "Change Docs Path"; }
  std::string LogText() const override { return oldPathText_ + "\r\n" + newPathText_; }

  std::unique_ptr<TJournalledRun> BeginRun() override {
    if (resume_)
      return std::make_unique<TJournalledRun>("replace", oldPathText_, newPathText_, "", &soFar_);
    if (!options_.Journal) return nullptr;
    return std::make_unique<TJournalledRun>("replace", oldPathText_, newPathText_);
  }

  void WalkDocs(const TPassOptions& pass, TCommandResult& result) override {
    docsDM_ = std::make_unique<TDatDocsDBServicesDM>(&owner_);
    if (pass.DryRun && options_.Report && !resume_) {
      *options_.Report = MakePreflightReport(oldPath_, newPathText_, options_.FileCheck,
                                             options_.DocsObserver, options_.CardsObserver);
      result.Docs = DryRunCounts(options_.Report->Docs);
      return;
    }
    docsDM_->ChangeDocPathInDocs(oldPath_, newPathText_, Skipping(pass, kDocsPass), result.Docs);
  }
  void WalkCards(const TPassOptions& pass, TCommandResult& result) override {
    if (pass.DryRun && options_.Report && !resume_) {
      result.Cards = DryRunCounts(options_.Report->Cards);
      return;
    }
    WalkCardFolders(oldPath_, newPathText_, Skipping(pass, kCardsPass), result.Cards, trace_);
  }
  std::string CardFailureName() const override { return kCardPassLogName; }
  std::string CardFailureText() const override { return trace_.LogText(); }
  std::string CompletionMessage() const override { return LoadStr(sOperationCompleted); }

 private:
  // The run's state from the journal, and with readRows what it already rewrote.
  std::optional<TCommandOutcome> CheckResumable(bool readRows) {
    return ReadJournal([&](TPathJournal& journal) -> std::optional<TCommandOutcome> {
      TPathRun run;
      if (auto refusal = FindRun(journal, resume_->RunId, run)) return refusal;
      if (auto refusal = RefuseUndone(run)) return refusal;
      if (!run.Incomplete()) {
        Platform().Ui().ShowMessage(Format(LoadStr(sRunComplete), {run.RunId}),
                                    TMessageKind::mkWarning);
        return TCommandOutcome::Refused;
      }
      if (auto refusal = RefuseUnfinishedUndo(journal, run)) return refusal;
      if (!readRows) return std::nullopt;
      soFar_ = ReadRunSoFar(journal, run.RunId);
      return RefuseMissingRows(run, soFar_.Rows);
    });
  }
  // A dry run of a resume leaves alone what the run rewrote, as the resume will.
  TPassOptions Skipping(TPassOptions pass, const TPathPass& table) {
    if (resume_ && pass.DryRun) pass.SkipRecIds = &soFar_.Done[table.Name];
    return pass;
  }

  TComponent& owner_;
  const std::string oldPathText_;
  const std::string newPathText_;
  const std::string oldPath_;  // upper-cased, as both passes take it
  const TReplaceOptions& options_;
  const TPathRun* resume_;
  TRunSoFar soFar_;
  std::unique_ptr<TDatDocsDBServicesDM> docsDM_;
  TCardPassTrace trace_;
};

}  // namespace

TCommandResult ReplaceDocsPath(TComponent& owner, const std::string& oldPathText,
                               const std::string& newPathText, const TReplaceOptions& options) {
  TReplaceCommand command(owner, oldPathText, newPathText, options, nullptr);
  return RunRewriteCommand(owner, command, options);
}

TCommandResult ResumeReplaceRun(TComponent& owner, const TPathRun& run,
                                const TReplaceOptions& options) {
  TReplaceCommand command(owner, run.OldFolder, run.NewFolder, options, &run);
  return RunRewriteCommand(owner, command, options);
}
