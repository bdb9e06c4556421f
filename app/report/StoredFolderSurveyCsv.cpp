#include "app/report/StoredFolderSurveyCsv.h"

#include "app/report/ReportCsv.h"
#include "app/report/ReportFile.h"

namespace {

void Table(std::string& csv, const TTableSurvey& table) {
  const TFolderTally& tally = table.Folders;
  AppendReportRow(csv, table.Table, "examined", std::to_string(tally.Total()), {}, {});
  for (const TFolderCount& folder : tally.Folders())
    AppendReportRow(csv, table.Table, "stored_folder", std::to_string(folder.Count), folder.Folder,
                    {});
  for (TStoredKind kind : kNoFolderKinds)
    if (tally.Count(kind) > 0)
      AppendReportRow(csv, table.Table, "stored_kind", std::to_string(tally.Count(kind)),
                      StoredKindName(kind), {});
}

}  // namespace

std::string StoredFolderSurveyCsv(const TStoredFolderSurvey& survey) {
  std::string csv = std::string(kReportCsvHeader) + "\r\n";
  AppendReportRow(csv, {}, "survey_depth", std::to_string(survey.Depth), {}, {});
  Table(csv, survey.Docs);
  Table(csv, survey.Cards);
  Table(csv, survey.Pref);
  return csv;
}

void WriteStoredFolderSurveyCsv(const std::string& path, const TStoredFolderSurvey& survey,
                                const std::string& databaseFolder) {
  ReplaceReportFile(path, StoredFolderSurveyCsv(survey), ReportCsvHeaders(), databaseFolder);
}
