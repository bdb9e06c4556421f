#include "app/report/ReportCsv.h"

#include <string_view>

#include "app/report/ReportFile.h"

namespace {

// The report being written; with several folders each row ends with the mapping row's number
// (empty where the row is the table's).
class TCsvWriter {
 public:
  explicit TCsvWriter(bool several) : several_(several) {}
  void Row(const std::string& table, const char* measure, const std::string& count,
           const std::string& value, const std::string& related) {
    std::optional<std::string> mapping;
    if (several_) mapping = mapping_ ? std::to_string(mapping_) : std::string();
    AppendReportRow(csv_, table, measure, count, value, related, mapping);
  }
  void Mapping(size_t row) { mapping_ = row; }  // from 1; 0: none
  std::string& Text() { return csv_; }

 private:
  bool several_;
  size_t mapping_ = 0;
  std::string csv_;
};

void Measure(TCsvWriter& csv, const std::string& table, const char* measure,
             const TReportMeasure& counted) {
  csv.Row(table, measure, std::to_string(counted.Count), {}, {});
  for (const auto& [value, related] : counted.Samples) csv.Row(table, measure, {}, value, related);
}

// The measures of a table, or of one mapping row's part of it.
void Measures(TCsvWriter& csv, const TTableReport& table, const TFileCheck& files) {
  Measure(csv, table.Table, "will_change", table.WillChange);
  Measure(csv, table.Table, "already_new", table.AlreadyNew);
  Measure(csv, table.Table, "rerun_hazard", table.RerunHazard);
  Measure(csv, table.Table, "too_long", table.TooLong);
  if (!files.Enabled) return;
  Measure(csv, table.Table, "old_file_missing", table.OldFileMissing);
  if (!files.NewRoot.empty()) Measure(csv, table.Table, "new_file_present", table.NewFilePresent);
}

void Examined(TCsvWriter& csv, const TTableReport& table) {
  csv.Row(table.Table, "examined", std::to_string(table.Examined), {}, {});
  if (table.Width) csv.Row(table.Table, "column_width", std::to_string(*table.Width), {}, {});
}

// The records no folder of the run takes, and the folders holding the most of them.
void OtherFolders(TCsvWriter& csv, const TTableReport& table) {
  csv.Row(table.Table, "other_folders",
          std::to_string(table.OtherFolders.Count(TStoredKind::Folder)), {}, {});
  for (const TFolderCount& folder : table.OtherFolders.Folders(kReportOtherFolders))
    csv.Row(table.Table, "other_folder", std::to_string(folder.Count), folder.Folder, {});
}

// The folder preferences: the text values read, and those naming an old folder.
void Prefs(TCsvWriter& csv, const TTableReport& prefs) {
  Examined(csv, prefs);
  Measure(csv, prefs.Table, "will_change", prefs.WillChange);
}

// Several folders: each table's measures per mapping row, then what no row takes.
void SeveralTables(TCsvWriter& csv, const TPreflightReport& report,
                   TTableReport TMappingRowReport::*table, const TTableReport& whole) {
  Examined(csv, whole);
  for (size_t row = 0; row < report.Rows.size(); ++row) {
    csv.Mapping(row + 1);
    Measures(csv, report.Rows[row].*table, report.Files);
  }
  csv.Mapping(0);
  OtherFolders(csv, whole);
}

// Text a spreadsheet would take for a formula (or, after a tab or a carriage return, for one).
bool LooksLikeFormula(const std::string& field) {
  return !field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string::npos;
}

}  // namespace

void AppendReportRow(std::string& csv, const std::string& table, const char* measure,
                     const std::string& count, const std::string& value, const std::string& related,
                     const std::optional<std::string>& mapping) {
  csv += CsvField(table) + ',' + measure + ',' + count + ',' + CsvField(value) + ',' +
         CsvField(related);
  if (mapping) csv += ',' + *mapping;
  csv += "\r\n";
}

const std::vector<std::string>& ReportCsvHeaders() {
  static const std::vector<std::string> headers = {kReportCsvHeader, kSeveralReportCsvHeader};
  return headers;
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
  const bool several = !report.Rows.empty();
  TCsvWriter csv(several);
  csv.Text() = std::string(several ? kSeveralReportCsvHeader : kReportCsvHeader) + "\r\n";
  if (!several) {
    csv.Row({}, "new_under_old", report.NewUnderOld ? "1" : "0", oldPath, newPath);
    for (const TTableReport* table : {&report.Docs, &report.Cards}) {
      Examined(csv, *table);
      Measures(csv, *table, report.Files);
      OtherFolders(csv, *table);
    }
    Prefs(csv, report.Prefs);
    return csv.Text();
  }
  for (size_t row = 0; row < report.Rows.size(); ++row) {
    const TMappingRowReport& folder = report.Rows[row];
    csv.Mapping(row + 1);
    csv.Row({}, "new_under_old", folder.NewUnderOld ? "1" : "0", folder.Mapping.Old,
            folder.Mapping.New);
  }
  csv.Mapping(0);
  SeveralTables(csv, report, &TMappingRowReport::Docs, report.Docs);
  SeveralTables(csv, report, &TMappingRowReport::Cards, report.Cards);
  Prefs(csv, report.Prefs);
  return csv.Text();
}

void CheckPreflightReportFile(const std::string& path, const std::string& databaseFolder) {
  CheckReportFile(path, ReportCsvHeaders(), databaseFolder);
}

void WritePreflightReportCsv(const std::string& path, const TPreflightReport& report,
                             const std::string& oldPath, const std::string& newPath,
                             const std::string& databaseFolder) {
  ReplaceReportFile(path, PreflightReportCsv(report, oldPath, newPath), ReportCsvHeaders(),
                    databaseFolder);
}
