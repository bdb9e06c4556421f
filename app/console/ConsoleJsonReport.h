// The read-only reports as JSON (ConsoleJson.h): a dry run's pre-flight report and the survey of
// the stored folders.
//
// "preflight": {"new_under_old", "Docs": TABLE, "Cards": TABLE, "Pref": {"examined",
// "will_change"}, and with several folders "rows": [{"old", "new", "new_under_old", "Docs",
// "Cards"}]}, where TABLE is {"examined", "width" (null: none enforced), "will_change",
// "already_new", "rerun_hazard", "too_long", with --check-files "old_file_missing" and
// "new_file_present", each {"count", "samples": [{"value", "related"}]}, and "other_folders":
// {"count", "top": [{"folder", "count"}]}} (a row's tables without "examined" and
// "other_folders": every row sees every record).
//
// The survey adds "depth" and "tables": {"Docs", "Cards", "Pref"}, each {"examined", "folders":
// [{"folder", "count"}] (most records first), "kinds": {"empty", "url", "relative", "no_path"}}.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include "docpaths/PreflightReport.h"
#include "docpaths/StoredFolderSurvey.h"

nlohmann::ordered_json PreflightJson(const TPreflightReport& report);
// The survey's keys, added to object.
void AddSurveyJson(nlohmann::ordered_json& object, const TStoredFolderSurvey& survey);
