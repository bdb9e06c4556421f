#include "app/report/ReportCsv.h"

#include <string_view>

#include "app/report/ReportFile.h"

namespace {

void Measure(std::string& csv, const std::string& table, const char* measure,
             const TReportMeasure& counted) {
  AppendReportRow(csv, table, measure, std::to_string(counted.Count), {}, {});
  for (const auto& [value, related] : counted.Samples)
    AppendReportRow(csv, table, measure, {}, value, related);
}

void Table(std::string& csv, const TTableReport& table, const TFileCheck& files) {
  AppendReportRow(csv, table.Table, "examined", std::to_string(table.Examined), {}, {});
  if (table.Width)
    AppendReportRow(csv, table.Table, "column_width", std::to_string(*table.Width), {}, {});
  Measure(csv, table.Table, "will_change", table.WillChange);
  Measure(csv, table.Table, "already_new", table.AlreadyNew);
  Measure(csv, table.Table, "rerun_hazard", table.RerunHazard);
  Measure(csv, table.Table, "too_long", table.TooLong);
  if (files.Enabled) {
    Measure(csv, table.Table, "old_file_missing", table.OldFileMissing);
    if (!files.NewRoot.empty()) Measure(csv, table.Table, "new_file_present", table.NewFilePresent);
  }
  AppendReportRow(csv, table.Table, "other_folders",
                  std::to_string(table.OtherFolders.Count(TStoredKind::Folder)), {}, {});
  for (const TFolderCount& folder : table.OtherFolders.Folders(kReportOtherFolders))
    AppendReportRow(csv, table.Table, "other_folder", std::to_string(folder.Count), folder.Folder,
                    {});
}

// Text a spreadsheet would take for a formula (or, after a tab or a carriage return, for one).
bool LooksLikeFormula(const std::string& field) {
  return !field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string::npos;
}

}  // namespace

void AppendReportRow(std::string& csv, const std::string& table, const char* measure,
                     const std::string& count, const std::string& value,
                     const std::string& related) {
  csv += CsvField(table) + ',' + measure + ',' + count + ',' + CsvField(value) + ',' +
         CsvField(related) + "\r\n";
}

std::string CsvField(const std::string& text) {
  const std::string field = LooksLikeFormula(text) ? '\'' + text : text;
  const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quote) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string PreflightReportCsv(const TPreflightReport& report, const std::string& oldPath,
                               const std::string& newPath) {
  std::string csv = std::string(kReportCsvHeader) + "\r\n";
  AppendReportRow(csv, {}, "new_under_old", report.NewUnderOld ? "1" : "0", oldPath, newPath);
  Table(csv, report.Docs, report.Files);
  Table(csv, report.Cards, report.Files);
  return csv;
}

void CheckPreflightReportFile(const std::string& path, const std::string& databaseFolder) {
  CheckReportFile(path, kReportCsvHeader, databaseFolder);
}

void WritePreflightReportCsv(const std::string& path, const TPreflightReport& report,
                             const std::string& oldPath, const std::string& newPath,
                             const std::string& databaseFolder) {
  ReplaceReportFile(path, PreflightReportCsv(report, oldPath, newPath), kReportCsvHeader,
                    databaseFolder);
}
