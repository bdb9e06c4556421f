// How the journalled runs are listed, by the console's --list-runs and the window's History:
//
//   <id>  <started>  <old> -> <new>  Docs <n>, Cards <n>  <kind>[, undone by <id>][, incomplete]
//
// where kind is "replace" or "undo of <id>", and the counts are the run's journal rows.
#pragma once

#include <string>

#include "docpaths/journal/PathJournal.h"

std::string RunListLine(const TPathRun& run);
