// The folders of a journalled run and what it wrote under each, as the console's details of a
// run show them: a replace of several folders counts its journal rows by the row of its rule
// that matches each old value (what the database holds, also after a kill or a resume); any
// other run has one row, its old and new folder, with all its journal rows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "docpaths/FolderMappings.h"
#include "docpaths/journal/PathJournal.h"

struct TFolderCounts {
  int64_t Docs = 0;
  int64_t Cards = 0;
};

struct TRunFolders {
  TFolderMappingRows Rows;
  std::vector<TFolderCounts> Counts;  // per row
  TFolderCounts Unmatched;            // rows of no folder: a journal edited since
};

// Reads the run's journal rows; engine failures propagate.
TRunFolders CountRunFolders(TPathJournal& journal, const TPathRun& run);

// What the runs table keeps as OldFolder and NewFolder of a run of several folders: how many
// folders ("3 folders"), and the one new folder, or the first when they differ.
std::pair<std::string, std::string> RunFolderSummary(const TFolderMappingRows& rows);
