// The journal's runs as JSON (ConsoleJson.h), for --list-runs ("runs": [RUN]) and --show-run
// ("run": RUN, "folders", "unmatched", "state"). RUN is {"run_id", "started", "old_folder",
// "new_folder", "kind", "target" (null but for an undo), "docs", "cards" (its journal rows),
// "undone_by" (null while it stands), "incomplete"}.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include "docpaths/journal/PathJournal.h"
#include "docpaths/journal/RunFolders.h"

nlohmann::ordered_json RunJson(const TPathRun& run);
// The details --show-run prints: the run, its folders with what it wrote under each, the
// journal rows of no folder, and its state ("complete", "incomplete" or "undone").
void AddRunDetailsJson(nlohmann::ordered_json& object, const TPathRun& run,
                       const TRunFolders& folders);
