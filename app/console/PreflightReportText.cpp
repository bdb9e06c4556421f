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

// The records under other folders than the old one, with the folders holding the most; nothing
// when there are none.
void PrintOtherFolders(std::ostream& out, const char* title, const TTableReport& table,
                       const std::string& oldPath) {
  const int64_t others = table.OtherFolders.Count(TStoredKind::Folder);
  if (others == 0) return;
  out << Format(LoadStr(sOtherFoldersLine), {title, others, oldPath}) << '\n';
  for (const TFolderCount& folder : table.OtherFolders.Folders(kReportOtherFolders))
    out << "  " << Format(LoadStr(sOtherFolderSample), {folder.Folder, folder.Count}) << '\n';
}

void PrintTable(std::ostream& out, const char* title, const TTableReport& table,
                const TFileCheck& files, const std::string& oldPath) {
  out << title << ": " << table.WillChange.Count << " will change, " << table.AlreadyNew.Count
      << " already under the new folder, " << table.RerunHazard.Count << " re-run hazard, "
      << table.TooLong.Count << " too long";
  if (table.Width)
    out << " (at most " << *table.Width << " characters)\n";
  else
    out << " (no width enforced)\n";
  PrintSamples(out, "already under the new folder", table.AlreadyNew, "", "");
  PrintSamples(out, "rewritten again by a second run", table.RerunHazard, " -> ", "");
  PrintSamples(out, "too long", table.TooLong, " -> ", "");
  PrintOtherFolders(out, title, table, oldPath);
  if (!files.Enabled) return;
  out << title << " files: " << table.OldFileMissing.Count << " old paths name no file, ";
  if (files.NewRoot.empty())
    out << "new paths not checked (no --new-root)\n";
  else
    out << table.NewFilePresent.Count << " new paths name a file\n";
  PrintSamples(out, "no file", table.OldFileMissing, " (", ")");
  PrintSamples(out, "file present", table.NewFilePresent, " (", ")");
}

}  // namespace

void PrintPreflightReport(std::ostream& out, const TPreflightReport& report,
                          const std::string& oldPath, const std::string& newPath) {
  out << "Pre-flight report\n";
  if (report.NewUnderOld) out << Format(LoadStr(sRerunHazardLine), {newPath, oldPath}) << '\n';
  PrintTable(out, "Documents", report.Docs, report.Files, oldPath);
  PrintTable(out, "Cards", report.Cards, report.Files, oldPath);
  out.flush();
}
