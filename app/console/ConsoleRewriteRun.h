// The part of a console command that rewrites (the replace, the undo, the resume): the options
// it hands the command (dry run, progress and samples of each pass, the other-stations and
// re-run questions as a terminal asks them, the journal) and, at the end, the lines that say
// what the run did and the exit code (app/console/ConsoleExitCodes.h).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "app/console/ConsolePassWatcher.h"
#include "app/console/ConsoleSession.h"
#include "commands/ReplaceCommand.h"
#include "docpaths/journal/PathUndo.h"

class TConsoleRewriteRun {
 public:
  explicit TConsoleRewriteRun(TConsoleSession& session);
  ~TConsoleRewriteRun();  // ends a progress line a failure left open
  TConsoleRewriteRun(const TConsoleRewriteRun&) = delete;
  TConsoleRewriteRun& operator=(const TConsoleRewriteRun&) = delete;

  TReplaceOptions& Options() { return options_; }
  // Prints what the run did; its exit code. A completed dry run of a replace goes on to its
  // pre-flight report: ecCompleted here, the caller prints it.
  int Finish(const TCommandResult& result);

 private:
  void PrintPass(const char* table, const TPassResult& pass, const TCommandResult& result,
                 const TConsolePassWatcher* watcher) const;

  TConsoleSession& session_;
  TConsolePassWatcher docs_;
  TConsolePassWatcher cards_;
  TReplaceOptions options_;
};

// "Run R3 is journalled. To undo it: ...", when the run was journalled.
void PrintRunLine(std::ostream& out, const std::string& runId);
// A replace of several folders: how many records its rule counted per folder that were not
// committed (then the counts per folder are unknown until the journal is read).
int64_t UncommittedByFolder(const TCommandResult& result);
// A replace of several folders: what it rewrote under each (nothing for one folder).
void PrintByFolder(std::ostream& out, const TCommandResult& result);
// An undo's records left alone: the count line and its samples; nothing when none.
void PrintUndoTally(std::ostream& out, const TUndoTally& tally);
