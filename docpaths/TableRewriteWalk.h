// The walk both passes of a replace share: every record of one table in order, one field's
// value handed to the pass's rule, the rewrite posted when it differs from the stored value.
//
// Counts are what the database holds: a post counts as rewritten once the engine has committed
// it, so a group the engine rolls back is never reported as done. Another station may change a
// record between our read and our post; the engine then refuses the post, and the walk reads
// the record again and applies the rule to what is stored now. A record no longer matching (or
// deleted, or already holding the rewrite) is left alone and counted as changed by another
// station. An engine that sends its posts in groups refuses such a post only when the group
// goes; the walk then reads each refused record again after the last one and does the same.
// The table is closed with an explicit commit, which raises when it fails.
//
// A stop request (platform/StopRequest.h) ends a real walk before its next record: what was
// posted is committed and counted, and EStopRequested propagates.
//
// With options.Journal the table journals every post before the walk begins (the undo journal,
// docs/PathJournal.h); with options.SkipRecIds the records of those RECIDs are left alone.
#pragma once

#include <string>

#include "docpaths/DatDocsDBServices.h"

// Walks table (opened here, read-only in a dry run) and rewrites fieldName by rule. result is
// updated as the walk goes, so it holds the counts so far when a failure propagates.
void RewriteTableField(TAdsTable& table, const std::string& fieldName, const TValueRule& rule,
                       const TPassOptions& options, TPassResult& result);
