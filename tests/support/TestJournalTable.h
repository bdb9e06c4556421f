// A journal table of the engine tests' own naming: an engine writes its journal rows into
// whatever table and columns the caller gives (TAcePostJournal), not into the undo journal's.
#pragma once

#include <string>

#include "platform/AceDriver.h"

inline constexpr const char* kCreateTestJournal =
    "CREATE TABLE IF NOT EXISTS TestJournal (Run TEXT NOT NULL, Tbl TEXT NOT NULL, Rec TEXT NOT "
    "NULL, Fld TEXT NOT NULL, OldV TEXT, NewV TEXT)";

inline TAcePostJournal TestJournal(const std::string& runId, const std::string& table) {
  return {runId, table, {"TestJournal", "Run, Tbl, Rec, Fld, OldV, NewV"}};
}
