#include "app/console/ConsoleJsonRuns.h"

#include <nlohmann/json.hpp>

namespace {

using TJson = nlohmann::ordered_json;

TJson TextOrNull(const std::string& text) {
  return text.empty() ? TJson() : TJson(text);
}

}  // namespace

TJson RunJson(const TPathRun& run) {
  return {{"run_id", run.RunId},
          {"started", run.Started},
          {"old_folder", run.OldFolder},
          {"new_folder", run.NewFolder},
          {"kind", run.Kind},
          {"target", TextOrNull(run.Target)},
          {"docs", run.Docs},
          {"cards", run.Cards},
          {"prefs", run.Prefs},
          {"undone_by", TextOrNull(run.UndoneBy)},
          {"incomplete", run.Incomplete()}};
}

void AddRunDetailsJson(TJson& object, const TPathRun& run, const TRunFolders& folders) {
  object["run"] = RunJson(run);
  TJson rows = TJson::array();
  for (size_t row = 0; row < folders.Rows.size(); ++row)
    rows.push_back({{"old", folders.Rows[row].Old},
                    {"new", folders.Rows[row].New},
                    {"docs", folders.Counts[row].Docs},
                    {"cards", folders.Counts[row].Cards}});
  object["folders"] = std::move(rows);
  object["unmatched"] = {{"docs", folders.Unmatched.Docs}, {"cards", folders.Unmatched.Cards}};
  object["state"] = !run.UndoneBy.empty() ? "undone" : run.Incomplete() ? "incomplete" : "complete";
}
