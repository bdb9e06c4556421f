// The replace command: the one implementation behind the window's "Replace" button and the
// console program, run on the command skeleton (app/RewriteCommand.h). It reads the two path
// texts as the user typed them, refuses a blank new path and a path no Windows path can be
// (PathTextCheck), asks for confirmation, rewrites the documents and then the cards under the
// installation's replace lock, reports "Operation completed", and always logs the connection
// information at the end.
//
// A real replace is journalled (docs/JournalledRun.h) unless Journal is off: its run id is in the
// result and logged right after the "Change Docs Path" entry. ResumeReplaceRun takes an
// incomplete replace up again under its own id, leaving alone the records it already rewrote;
// its dry run counts exactly what the resume would rewrite.
//
// A dry run computes every rewrite without posting any: it asks no confirmation and writes no
// log entry, since nothing changes. Given a report to fill, it reads each table once for the
// pre-flight report (docs/PreflightReport.h) in place of its passes.
//
// A new folder under the old one (C:\Docs to C:\Docs\Archive) is a re-run hazard: before any
// other question a real replace asks whether to go on all the same, and stops when not.
//
// The folder preferences that name an old folder are counted after the confirmation; when there
// are any, the options (or the question they ask) say whether the run points them at the new
// folder too, as its third pass. The "Change Docs Path" log entry says how many it points there,
// or how many it leaves naming the old folder.
//
// ReplaceDocsPaths moves several folders in one run (docpaths/FolderMappings.h): one run id,
// one journal run holding the rows, one lock, each value rewritten by the row of the longest
// old folder that matches it, the counts of each pass also per row. Before anything it refuses
// a row with a blank new folder or a path no Windows path can be, and rows that conflict.
#pragma once

#include <functional>
#include <string>

#include "commands/RewriteCommand.h"
#include "docpaths/PreflightReport.h"

class TComponent;

// What a replace does with the folder preferences that name an old folder
// (docpaths/FolderPrefs.h).
enum class TPrefChoice {
  Ask,     // asks after the confirmation (PreferencesPrompt)
  Update,  // points them at the new folder: the run's third pass
  Keep,    // leaves them as they are
};

struct TReplaceOptions : TCommandOptions {
  // A dry run fills it (with the files of FileCheck looked for) instead of running the passes.
  TPreflightReport* Report = nullptr;
  TFileCheck FileCheck;
  // Asks whether to replace with the new folder under the old one (of several rows: the first
  // such pair); empty: a Yes/No confirmation of its own.
  std::function<bool(const std::string& oldPath, const std::string& newPath)> NewUnderOldPrompt;
  bool Journal = true;  // journal the posts for an undo
  TPrefChoice Preferences = TPrefChoice::Ask;
  // With Ask: whether to point count folder preferences at the new folder too; empty: a Yes/No
  // question of its own.
  std::function<bool(int64_t count)> PreferencesPrompt;
};

// Runs the command for owner (the window, or the console program's stand-in): owner owns the
// command's data module and is the sender of the card pass's failure entry. A failure of the
// document pass propagates after the clean-up; the cursor is back to the default in every case.
TCommandResult ReplaceDocsPath(TComponent& owner, const std::string& oldPathText,
                               const std::string& newPathText, const TReplaceOptions& options = {});

// The replace of several folders at once; one row is ReplaceDocsPath of its two folders.
TCommandResult ReplaceDocsPaths(TComponent& owner, const TFolderMappingRows& rows,
                                const TReplaceOptions& options = {});

// Finishes the incomplete replace runId (its folders, or its rows, from the journal). Refused, and
// shown, when the journal no longer allows it: an unknown run, a run already undone, complete, with
// an unfinished undo, or whose journal lost rows. Checked again once the lock is held.
TCommandResult ResumeReplaceRun(TComponent& owner, const TPathRun& run,
                                const TReplaceOptions& options);
