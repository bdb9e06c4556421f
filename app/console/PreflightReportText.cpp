#include "app/console/PreflightReportText.h"

#include <ostream>

#include "common/Format.h"
#include "common/StrTable.h"

namespace {

void PrintSamples(std::ostream& out, const char* label, const TReportMeasure& measure,
                  const char* between, const char* after) {
  for (const auto& [value, related] : measure.Samples) {
    out << "  " << label << ": " << value;
    if (!related.empty()) out << between << related << after;
    out << '\n';
  }
}

// The records under other folders than the old one (or ones), with the folders holding the
// most; nothing when there are none.
void PrintOtherFolders(std::ostream& out, const char* title, const TTableReport& table,
                       const std::string& oldPath) {
  const int64_t others = table.OtherFolders.Count(TStoredKind::Folder);
  if (others == 0) return;
  out << Format(LoadStr(sOtherFoldersLine), {title, others, oldPath}) << '\n';
  for (const TFolderCount& folder : table.OtherFolders.Folders(kReportOtherFolders))
    out << "  " << Format(LoadStr(sOtherFolderSample), {folder.Folder, folder.Count}) << '\n';
}

// withChanges: the samples of the values that change too (a row of several folders; with one
// folder the dry run's lines list them).
void PrintTable(std::ostream& out, const char* title, const TTableReport& table,
                const TFileCheck& files, bool withChanges) {
  out << title << ": " << table.WillChange.Count << " will change, " << table.AlreadyNew.Count
      << " already under the new folder, " << table.RerunHazard.Count << " re-run hazard, "
      << table.TooLong.Count << " too long";
  if (table.Width)
    out << " (at most " << *table.Width << " characters)\n";
  else
    out << " (no width enforced)\n";
  if (withChanges) PrintSamples(out, "will change", table.WillChange, " -> ", "");
  PrintSamples(out, "already under the new folder", table.AlreadyNew, "", "");
  PrintSamples(out, "rewritten again by a second run", table.RerunHazard, " -> ", "");
  PrintSamples(out, "too long", table.TooLong, " -> ", "");
  if (!files.Enabled) return;
  out << title << " files: " << table.OldFileMissing.Count << " old paths name no file, ";
  if (files.NewRoot.empty())
    out << "new paths not checked (no --new-root)\n";
  else
    out << table.NewFilePresent.Count << " new paths name a file\n";
  PrintSamples(out, "no file", table.OldFileMissing, " (", ")");
  PrintSamples(out, "file present", table.NewFilePresent, " (", ")");
}

// The folder preferences naming an old folder, with their tokens and levels.
void PrintPrefs(std::ostream& out, const TTableReport& prefs) {
  out << Format(LoadStr(sPrefsPreflightLine), {prefs.WillChange.Count, prefs.Examined}) << '\n';
  PrintSamples(out, "will change", prefs.WillChange, " -> ", "");
}

}  // namespace

void PrintPreflightReport(std::ostream& out, const TPreflightReport& report,
                          const std::string& oldPath, const std::string& newPath) {
  out << "Pre-flight report\n";
  if (report.Rows.empty()) {
    if (report.NewUnderOld) out << Format(LoadStr(sRerunHazardLine), {newPath, oldPath}) << '\n';
    PrintTable(out, "Documents", report.Docs, report.Files, false);
    PrintOtherFolders(out, "Documents", report.Docs, oldPath);
    PrintTable(out, "Cards", report.Cards, report.Files, false);
    PrintOtherFolders(out, "Cards", report.Cards, oldPath);
    PrintPrefs(out, report.Prefs);
    out.flush();
    return;
  }
  for (size_t row = 0; row < report.Rows.size(); ++row) {
    const TMappingRowReport& folder = report.Rows[row];
    out << Format(LoadStr(sPreflightFolder),
                  {row + 1, report.Rows.size(), folder.Mapping.Old, folder.Mapping.New})
        << '\n';
    if (folder.NewUnderOld)
      out << Format(LoadStr(sRerunHazardLine), {folder.Mapping.New, folder.Mapping.Old}) << '\n';
    PrintTable(out, "Documents", folder.Docs, report.Files, true);
    PrintTable(out, "Cards", folder.Cards, report.Files, true);
  }
  const std::string folders = Format(LoadStr(sFolderCount), {report.Rows.size()});
  PrintOtherFolders(out, "Documents", report.Docs, folders);
  PrintOtherFolders(out, "Cards", report.Cards, folders);
  PrintPrefs(out, report.Prefs);
  out.flush();
}
