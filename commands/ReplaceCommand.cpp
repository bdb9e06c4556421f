#include "commands/ReplaceCommand.h"

#include <memory>

#include "commands/JournalChecks.h"
#include "common/Format.h"
#include "common/PathTextCheck.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "docpaths/FolderPrefs.h"
#include "docpaths/journal/JournalledRun.h"
#include "docpaths/journal/RunFolders.h"
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

// A dry run's counts from its report (of several folders: also per row).
TPassResult DryRunCounts(const TPreflightReport& report, TTableReport TPreflightReport::*table,
                         TTableReport TMappingRowReport::*rowTable) {
  const TTableReport& counted = report.*table;
  TPassResult result{counted.Examined, counted.WillChange.Count, 0, true};
  for (const TMappingRowReport& row : report.Rows)
    result.ByRow.push_back((row.*rowTable).WillChange.Count);
  return result;
}

// The message refusing two rows that conflict.
std::string ConflictRefusal(const TFolderMappingRows& rows, const TMappingConflict& conflict) {
  const TFolderMapping& first = rows[conflict.First];
  const TFolderMapping& second = rows[conflict.Second];
  if (conflict.Kind == TMappingConflict::SameOld)
    return Format(LoadStr(sMappingSameOld), {second.Old, conflict.First + 1, conflict.Second + 1});
  return Format(LoadStr(sMappingRewrittenAgain),
                {second.New, conflict.Second + 1, first.Old, conflict.First + 1});
}

class TReplaceCommand : public TRewriteCommand {
 public:
  // rows: at least one.
  TReplaceCommand(TComponent& owner, TFolderMappingRows rows, const TReplaceOptions& options,
                  const TPathRun* resume)
      : owner_(owner),
        rows_(std::move(rows)),
        oldPathText_(rows_.front().Old),
        newPathText_(rows_.front().New),
        oldPath_(UpperCase(oldPathText_)),
        options_(options),
        resume_(resume) {}

  std::optional<TCommandOutcome> Check(bool dryRun, bool afterLock) override {
    if (!afterLock) {
      if (auto refusal = Several() ? CheckRows() : CheckPaths()) return refusal;
    }
    if (!resume_) return std::nullopt;
    // What the run already rewrote is read once the lock is held: the resume skips exactly
    // those records. A dry run, which takes no lock, reads it now and counts without them.
    return CheckResumable(dryRun || afterLock);
  }

  // A resumed run leaves alone the records it already rewrote, so it is safe to finish.
  bool AcceptHazard() override {
    if (resume_) return true;
    std::string oldPath = oldPathText_, newPath = newPathText_;
    if (!Several()) {
      if (!NewFolderUnderOld(oldPath_, newPathText_)) return true;
    } else if (const auto hazard = FindNewUnderOld(rows_)) {
      oldPath = rows_[hazard->first].Old, newPath = rows_[hazard->second].New;
    } else {
      return true;
    }
    if (options_.NewUnderOldPrompt) return options_.NewUnderOldPrompt(oldPath, newPath);
    return Platform().Ui().ConfirmYesNo(Format(LoadStr(sNewUnderOldQuestion), {newPath, oldPath}));
  }
  std::string Question() const override { return LoadStr(sStartUpdatingQuestion); }
  // The folder preferences naming an old folder, counted now: whether the run takes them too.
  bool AskAfterConfirmation() override {
    TTableReport prefs;
    ReportFolderPrefs(PrefRule(), prefs);
    prefsNaming_ = prefs.WillChange.Count;
    if (prefsNaming_ == 0) return true;
    // A resume finishes what the run began: the preferences too, once it rewrote any.
    if (resume_ && options_.Preferences == TPrefChoice::Ask && JournalledPrefs()) {
      updatePrefs_ = true;
      return true;
    }
    switch (options_.Preferences) {
      case TPrefChoice::Update:
        updatePrefs_ = true;
        break;
      case TPrefChoice::Keep:
        break;
      case TPrefChoice::Ask:
        updatePrefs_ =
            options_.PreferencesPrompt
                ? options_.PreferencesPrompt(prefsNaming_)
                : Platform().Ui().ConfirmYesNo(Format(LoadStr(sPrefsQuestion), {prefsNaming_}));
        break;
    }
    return true;
  }
  std::string LogName() const override { return "Change Docs Path"; }
  std::string LogText() const override {
    std::string text;
    if (!Several()) {
      text = oldPathText_ + "\r\n" + newPathText_;
    } else {
      for (const TFolderMapping& row : rows_)
        text += (text.empty() ? "" : "\r\n") + row.Old + " -> " + row.New;
    }
    if (prefsNaming_ > 0)
      text +=
          "\r\n" + Format(LoadStr(updatePrefs_ ? sPrefsLogUpdated : sPrefsLogKept), {prefsNaming_});
    return text;
  }

  std::unique_ptr<TJournalledRun> BeginRun() override {
    if (resume_)
      return std::make_unique<TJournalledRun>("replace", resume_->OldFolder, resume_->NewFolder, "",
                                              &soFar_);
    if (!options_.Journal) return nullptr;
    if (!Several()) return std::make_unique<TJournalledRun>("replace", oldPathText_, newPathText_);
    const auto [oldFolder, newFolder] = RunFolderSummary(rows_);
    return std::make_unique<TJournalledRun>("replace", oldFolder, newFolder, "", nullptr, rows_);
  }

  void WalkDocs(const TPassOptions& pass, TCommandResult& result) override {
    docsDM_ = std::make_unique<TDatDocsDBServicesDM>(&owner_);
    if (!updatePrefs_) result.PrefsLeft = prefsNaming_;
    if (Several()) result.Mappings = rows_;
    if (pass.DryRun && options_.Report && !resume_) {
      *options_.Report = Several()
                             ? MakePreflightReport(rows_, options_.FileCheck, options_.DocsObserver,
                                                   options_.CardsObserver)
                             : MakePreflightReport(oldPath_, newPathText_, options_.FileCheck,
                                                   options_.DocsObserver, options_.CardsObserver);
      result.Docs =
          DryRunCounts(*options_.Report, &TPreflightReport::Docs, &TMappingRowReport::Docs);
      return;
    }
    if (!Several()) {
      docsDM_->ChangeDocPathInDocs(oldPath_, newPathText_, Skipping(pass, kDocsPass), result.Docs);
      return;
    }
    TMappingRule rule(kDocsPass.Rule, rows_);
    docsDM_->RewriteDocs(MappingValueRule(rule, docsRow_),
                         Counting(Skipping(pass, kDocsPass), result.Docs, docsRow_), result.Docs);
  }
  void WalkCards(const TPassOptions& pass, TCommandResult& result) override {
    if (pass.DryRun && options_.Report && !resume_) {
      result.Cards =
          DryRunCounts(*options_.Report, &TPreflightReport::Cards, &TMappingRowReport::Cards);
      return;
    }
    if (!Several()) {
      WalkCardFolders(oldPath_, newPathText_, Skipping(pass, kCardsPass), result.Cards, trace_);
      return;
    }
    cardRule_.emplace(kCardsPass.Rule, rows_);
    WalkCardFolders(MappingValueRule(*cardRule_, cardsRow_),
                    Counting(Skipping(pass, kCardsPass), result.Cards, cardsRow_), result.Cards);
  }
  std::string CardFailureName() const override { return kCardPassLogName; }
  std::string CardFailureText() const override {
    if (!cardRule_) return trace_.LogText();
    return TCardPassTrace{cardRule_->Folder(), cardRule_->Work()}.LogText();
  }
  bool WalksPrefs() const override { return updatePrefs_; }
  void WalkPrefs(const TPassOptions& pass, TCommandResult& result) override {
    WalkFolderPrefs(PrefRule(), Skipping(pass, kPrefPass), result.Prefs);
  }
  std::string PrefFailureName() const override { return "ChangeDocPathInPrefs"; }
  std::string CompletionMessage() const override { return LoadStr(sOperationCompleted); }

 private:
  // The rule of the preferences pass, by the one folder or the rows.
  TValueRule PrefRule() {
    if (!Several()) return FolderPrefRule(PassRule(kPrefPass, oldPath_, newPathText_));
    if (!prefRule_) prefRule_.emplace(kPrefPass.Rule, rows_);
    return FolderPrefRule(MappingValueRule(*prefRule_, prefsRow_));
  }
  bool Several() const { return rows_.size() > 1; }

  // One folder: a blank new path, a path text no Windows path can be.
  std::optional<TCommandOutcome> CheckPaths() {
    TUiServices& ui = Platform().Ui();
    if (Trim(newPathText_).empty()) {
      ui.ShowMessage(LoadStr(sEnterNewPath), TMessageKind::mkWarning);
      return TCommandOutcome::BlankNewPath;
    }
    if (const std::string refusal = PathTextRefusal(oldPathText_, newPathText_); !refusal.empty()) {
      ui.ShowMessage(refusal, TMessageKind::mkWarning);
      return TCommandOutcome::RefusedPath;
    }
    return std::nullopt;
  }
  // Several folders: the same for each row, named by its number, then rows that conflict.
  std::optional<TCommandOutcome> CheckRows() {
    TUiServices& ui = Platform().Ui();
    for (size_t row = 0; row < rows_.size(); ++row) {
      const auto refuse = [&](const std::string& message, TCommandOutcome outcome) {
        ui.ShowMessage(Format(LoadStr(sMappingRowRefused), {row + 1, message}),
                       TMessageKind::mkWarning);
        return outcome;
      };
      if (Trim(rows_[row].New).empty())
        return refuse(LoadStr(sEnterNewPath), TCommandOutcome::BlankNewPath);
      if (const std::string refusal = PathTextRefusal(rows_[row].Old, rows_[row].New);
          !refusal.empty())
        return refuse(refusal, TCommandOutcome::RefusedPath);
    }
    if (const auto conflict = FindMappingConflict(rows_)) {
      ui.ShowMessage(ConflictRefusal(rows_, *conflict), TMessageKind::mkWarning);
      return TCommandOutcome::RefusedMapping;
    }
    return std::nullopt;
  }
  // Counts each record the pass rewrites under the row that matched it last.
  TPassOptions Counting(TPassOptions pass, TPassResult& result, const int& row) const {
    result.ByRow.assign(rows_.size(), 0);
    pass.Rewrote = [&result, &row] { ++result.ByRow[static_cast<size_t>(row)]; };
    return pass;
  }

  // Whether the run being resumed journalled any preference row.
  bool JournalledPrefs() {
    bool any = false;
    ReadJournal([&](TPathJournal& journal) -> std::optional<TCommandOutcome> {
      const std::map<std::string, int64_t> rows = journal.RowCounts(resume_->RunId);
      const auto prefs = rows.find(kPrefPass.Name);
      any = prefs != rows.end() && prefs->second > 0;
      return std::nullopt;
    });
    return any;
  }

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
  const TFolderMappingRows rows_;
  const std::string oldPathText_;
  const std::string newPathText_;
  const std::string oldPath_;  // upper-cased, as both passes take it
  const TReplaceOptions& options_;
  const TPathRun* resume_;
  TRunSoFar soFar_;
  std::unique_ptr<TDatDocsDBServicesDM> docsDM_;
  TCardPassTrace trace_;
  std::optional<TMappingRule> cardRule_;  // several folders: the card pass's rule
  std::optional<TMappingRule> prefRule_;  // several folders: the preferences pass's rule
  int docsRow_ = 0;                       // the row that matched last, per pass
  int cardsRow_ = 0;
  int prefsRow_ = 0;
  int64_t prefsNaming_ = 0;  // folder preferences naming an old folder, at the confirmation
  bool updatePrefs_ = false;
};

}  // namespace

TCommandResult ReplaceDocsPath(TComponent& owner, const std::string& oldPathText,
                               const std::string& newPathText, const TReplaceOptions& options) {
  TReplaceCommand command(owner, {{oldPathText, newPathText}}, options, nullptr);
  return RunRewriteCommand(owner, command, options);
}

TCommandResult ReplaceDocsPaths(TComponent& owner, const TFolderMappingRows& rows,
                                const TReplaceOptions& options) {
  if (rows.size() <= 1)
    return ReplaceDocsPath(owner, rows.empty() ? "" : rows[0].Old, rows.empty() ? "" : rows[0].New,
                           options);
  TReplaceCommand command(owner, rows, options, nullptr);
  return RunRewriteCommand(owner, command, options);
}

TCommandResult ResumeReplaceRun(TComponent& owner, const TPathRun& run,
                                const TReplaceOptions& options) {
  TFolderMappingRows rows = run.Mappings;
  if (rows.empty()) rows = {{run.OldFolder, run.NewFolder}};
  TReplaceCommand command(owner, std::move(rows), options, &run);
  return RunRewriteCommand(owner, command, options);
}
