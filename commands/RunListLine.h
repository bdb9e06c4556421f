// How the journalled runs are listed, by the console's --list-runs and the window's History:
//
//   <id>  <started>  <old> -> <new>  Docs <n>, Cards <n>[, Pref <n>]  <kind>[, undone by <id>]
//                                                                  [, incomplete]
//
// where kind is "replace" or "undo of <id>", and the counts are the run's journal rows (Pref
// when the run rewrote folder preferences).
#pragma once

#include <string>

#include "docpaths/journal/PathJournal.h"

std::string RunListLine(const TPathRun& run);
