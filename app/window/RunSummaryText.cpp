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

}  // namespace

std::string ReplaceConfirmLines(const TPreflightReport& report, const std::string& oldPath,
                                const std::string& newPath) {
  if (report.Docs.WillChange.Count == 0 && report.Cards.WillChange.Count == 0)
    return LoadStr(sConfirmNothing);
  std::string lines = Lines(
      Format(LoadStr(sConfirmDocs),
             {report.Docs.WillChange.Count, report.Docs.Examined, report.Docs.AlreadyNew.Count}),
      Format(LoadStr(sConfirmCards), {report.Cards.WillChange.Count, report.Cards.Examined,
                                      report.Cards.AlreadyNew.Count}));
  if (report.NewUnderOld) lines += "\r\n" + Format(LoadStr(sRerunHazardLine), {newPath, oldPath});
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
  const int64_t others = result.Docs.ChangedByOthers + result.Cards.ChangedByOthers;
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
