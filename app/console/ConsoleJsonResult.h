// What a rewriting command (the replace, its dry run, the undo, the resume) adds to its JSON
// object (ConsoleJson.h):
//
//   "outcome"           TCommandOutcome as a word: "completed", "not-completed", "interrupted",
//                       "refused", "refused-path", "blank-new-path", "new-under-old",
//                       "refused-mapping", "no-journal", "busy", "not-confirmed";
//   "run_id"            the journalled run, null without one (a dry run, --no-journal);
//   "dry_run"           true for a dry run;
//   "tables"            once the passes ran: {"Docs": {"examined", "rewritten",
//                       "changed_by_others"}, "Cards": {...}, "Pref": {...} when the preferences
//                       pass ran}; an undo's "rewritten" are the records it put back;
//   "folders"           several folders: [{"old", "new", "docs", "cards"}], the counts null when
//                       the rule's counts and the committed ones differ (--show-run tells them);
//   "left_alone"        an undo: {"changed_since", "deleted_since", "samples": [...]};
//   "preferences_left"  the folder preferences still naming the old folder;
//   "warnings"          the lines the text run prints about what it went on despite.
#pragma once

#include "commands/RewriteCommand.h"

class TConsoleJson;

// prefsNotice: the run warns of the preferences left (nobody was asked about them).
void AddRewriteResult(TConsoleJson& json, const TCommandResult& result, bool dryRun,
                      bool prefsNotice);
