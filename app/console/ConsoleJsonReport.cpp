#include "app/console/ConsoleJsonReport.h"

#include <nlohmann/json.hpp>

namespace {

using TJson = nlohmann::ordered_json;

TJson MeasureJson(const TReportMeasure& measure) {
  TJson samples = TJson::array();
  for (const auto& [value, related] : measure.Samples)
    samples.push_back({{"value", value}, {"related", related}});
  return {{"count", measure.Count}, {"samples", std::move(samples)}};
}

TJson FolderCountsJson(const std::vector<TFolderCount>& folders) {
  TJson list = TJson::array();
  for (const TFolderCount& folder : folders)
    list.push_back({{"folder", folder.Folder}, {"count", folder.Count}});
  return list;
}

// row: a mapping row's table, which counts no records of its own and no other folders.
TJson TableJson(const TTableReport& table, const TFileCheck& files, bool row) {
  TJson object = TJson::object();
  if (!row) object["examined"] = table.Examined;
  object["width"] = table.Width ? TJson(*table.Width) : TJson();
  object["will_change"] = MeasureJson(table.WillChange);
  object["already_new"] = MeasureJson(table.AlreadyNew);
  object["rerun_hazard"] = MeasureJson(table.RerunHazard);
  object["too_long"] = MeasureJson(table.TooLong);
  if (files.Enabled) {
    object["old_file_missing"] = MeasureJson(table.OldFileMissing);
    object["new_file_present"] = MeasureJson(table.NewFilePresent);
  }
  if (!row)
    object["other_folders"] = {
        {"count", table.OtherFolders.Count(TStoredKind::Folder)},
        {"top", FolderCountsJson(table.OtherFolders.Folders(kReportOtherFolders))}};
  return object;
}

// The kind's name as a key: "no path" is "no_path".
std::string KindKey(TStoredKind kind) {
  std::string key = StoredKindName(kind);
  for (char& c : key)
    if (c == ' ') c = '_';
  return key;
}

TJson SurveyTableJson(const TTableSurvey& table) {
  const TFolderTally& tally = table.Folders;
  TJson kinds = TJson::object();
  for (TStoredKind kind : kNoFolderKinds) kinds[KindKey(kind)] = tally.Count(kind);
  return {{"examined", tally.Total()},
          {"folders", FolderCountsJson(tally.Folders())},
          {"kinds", std::move(kinds)}};
}

}  // namespace

TJson PreflightJson(const TPreflightReport& report) {
  TJson object = {{"new_under_old", report.NewUnderOld},
                  {"Docs", TableJson(report.Docs, report.Files, false)},
                  {"Cards", TableJson(report.Cards, report.Files, false)},
                  {"Pref",
                   {{"examined", report.Prefs.Examined},
                    {"will_change", MeasureJson(report.Prefs.WillChange)}}}};
  if (report.Rows.empty()) return object;
  TJson rows = TJson::array();
  for (const TMappingRowReport& row : report.Rows)
    rows.push_back({{"old", row.Mapping.Old},
                    {"new", row.Mapping.New},
                    {"new_under_old", row.NewUnderOld},
                    {"Docs", TableJson(row.Docs, report.Files, true)},
                    {"Cards", TableJson(row.Cards, report.Files, true)}});
  object["rows"] = std::move(rows);
  return object;
}

void AddSurveyJson(TJson& object, const TStoredFolderSurvey& survey) {
  object["depth"] = survey.Depth;
  object["tables"] = {{"Docs", SurveyTableJson(survey.Docs)},
                      {"Cards", SurveyTableJson(survey.Cards)},
                      {"Pref", SurveyTableJson(survey.Pref)}};
}
