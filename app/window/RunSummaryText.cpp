#include "app/window/RunSummaryText.h"

#include "common/Format.h"
#include "common/StrTable.h"

namespace {

std::string Lines(const std::string& first, const std::string& second) {
  return first + "\r\n" + second;
}

// The line of records an undo left alone; empty when none.
std::string LeftAloneLine(const TUndoTally& tally) {
  if (tally.LeftAlone() == 0) return {};
  return "\r\n" + Format(LoadStr(sUndoLeftAlone),
                         {tally.LeftAlone(), tally.ChangedSince, tally.DeletedSince});
}

// How many of the other folders the confirmation names per table.
constexpr size_t kConfirmOtherFolders = 3;

// The records of a table under other folders than the old one, and the folders holding the
// most; empty when there are none.
std::string OtherFoldersLines(const char* title, const TTableReport& table,
                              const std::string& oldPath) {
  const int64_t others = table.OtherFolders.Count(TStoredKind::Folder);
  if (others == 0) return {};
  std::string lines = "\r\n" + Format(LoadStr(sOtherFoldersLine), {title, others, oldPath});
  for (const TFolderCount& folder : table.OtherFolders.Folders(kConfirmOtherFolders))
    lines += "\r\n  " + Format(LoadStr(sOtherFolderSample), {folder.Folder, folder.Count});
  return lines;
}

}  // namespace

std::string ReplaceConfirmLines(const TPreflightReport& report, const std::string& oldPath,
                                const std::string& newPath) {
  std::string lines;
  if (report.Docs.WillChange.Count == 0 && report.Cards.WillChange.Count == 0) {
    lines = LoadStr(sConfirmNothing);
  } else {
    lines = Lines(
        Format(LoadStr(sConfirmDocs),
               {report.Docs.WillChange.Count, report.Docs.Examined, report.Docs.AlreadyNew.Count}),
        Format(LoadStr(sConfirmCards), {report.Cards.WillChange.Count, report.Cards.Examined,
                                        report.Cards.AlreadyNew.Count}));
  }
  if (report.NewUnderOld) lines += "\r\n" + Format(LoadStr(sRerunHazardLine), {newPath, oldPath});
  lines += OtherFoldersLines("Documents", report.Docs, oldPath);
  lines += OtherFoldersLines("Cards", report.Cards, oldPath);
  if (report.Prefs.WillChange.Count > 0)
    lines += "\r\n" + Format(LoadStr(sPrefsConfirmLine), {report.Prefs.WillChange.Count});
  return lines;
}

std::string DryRunConfirmLines(const TCommandResult& dryRun) {
  const TStrId docs = dryRun.Undo ? sRestoreDocs : sResumeDocs;
  const TStrId cards = dryRun.Undo ? sRestoreCards : sResumeCards;
  return Lines(Format(LoadStr(docs), {dryRun.Docs.Rewritten, dryRun.Docs.Examined}),
               Format(LoadStr(cards), {dryRun.Cards.Rewritten, dryRun.Cards.Examined})) +
         LeftAloneLine(dryRun.Tally);
}

std::string CompletionLines(const TCommandResult& result) {
  const TStrId docs = result.Undo ? sRestoredDocs : sDoneDocs;
  const TStrId cards = result.Undo ? sRestoredCards : sDoneCards;
  std::string lines =
      Lines(Format(LoadStr(docs), {result.Docs.Examined, result.Docs.Rewritten}),
            Format(LoadStr(cards), {result.Cards.Examined, result.Cards.Rewritten}));
  if (result.PrefsWalked)
    lines += "\r\n" + Format(LoadStr(result.Undo ? sRestoredPrefs : sDonePrefs),
                             {result.Prefs.Examined, result.Prefs.Rewritten});
  else if (result.PrefsLeft > 0)
    lines += "\r\n" + Format(LoadStr(sPrefsLogKept), {result.PrefsLeft});
  const int64_t others =
      result.Docs.ChangedByOthers + result.Cards.ChangedByOthers + result.Prefs.ChangedByOthers;
  if (others > 0) lines += "\r\n" + Format(LoadStr(sDoneChangedByOthers), {others});
  lines += LeftAloneLine(result.Tally);
  if (!result.RunId.empty())
    lines += "\r\n\r\n" + Format(LoadStr(sRunUndoableFromHistory), {result.RunId});
  return lines;
}

std::string IncompleteRunText(const TCommandResult& result) {
  if (result.RunId.empty() || result.Outcome != TCommandOutcome::NotCompleted) return {};
  return Format(LoadStr(sRunResumableFromHistory),
                {result.Docs.Rewritten + result.Cards.Rewritten, result.Docs.Rewritten,
                 result.Cards.Rewritten, result.RunId});
}
