// The undo of a journalled run: every record the run journalled that still holds the value the
// run wrote gets the value it had before. Every journalled record the undo does not put back is
// counted, with samples: changed since the run (before the undo or while it ran, by another
// station) or deleted since. The walk is the replace's own (TableRewriteWalk), so the undo is
// journalled, committed and counted exactly as a replace is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "docpaths/DatDocsDBServices.h"
#include "docpaths/PathPasses.h"
#include "docpaths/journal/PathJournal.h"

struct TUndoTally {
  static constexpr size_t kMaxSamples = 20;
  int64_t ChangedSince = 0;          // hold another value than the run wrote: left alone
  int64_t DeletedSince = 0;          // journalled, no longer in the table
  std::vector<std::string> Samples;  // "Docs RECID 12: <value now>", up to kMaxSamples
  int64_t LeftAlone() const { return ChangedSince + DeletedSince; }
};

// Walks the pass's table (opened here on the main connection) and puts back the old value of
// its field in each record of rows still holding its new value. A failure of the walk
// propagates with result holding the counts so far (and tally untouched).
void UndoTableField(const TPathPass& pass, TJournalRows& rows, const TPassOptions& options,
                    TPassResult& result, TUndoTally& tally);
