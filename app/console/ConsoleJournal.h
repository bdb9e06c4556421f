// The console program's journal options and their output:
//
//   --list-runs        the journalled runs, oldest first, one line each
//   --undo RUN         undo a run (confirmed like a replace; --yes; --dry-run changes nothing)
//   --resume RUN       finish an incomplete run
//   --no-journal       replace without a journal (no undo possible)
//
// A run's line: "<id>  <started>  <old> -> <new>  Docs <n>, Cards <n>  <kind>[, undone by <id>]
// [, incomplete]", where kind is "replace" or "undo of <id>".
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "commands/PathUndoCommand.h"

namespace CLI {
class App;
}

struct TJournalArgs {
  bool ListRuns = false;
  std::string UndoRun;
  std::string ResumeRun;
  bool NoJournal = false;
};

void AddJournalOptions(CLI::App& app, TJournalArgs& args);
// True when the options ask for a journal command instead of a replace.
bool JournalCommandGiven(const TJournalArgs& args);

// Runs the journal command: the list, or an undo or resume with options, whose result report
// prints and turns into the exit code. Failures propagate.
int RunJournalCommand(TComponent& program, const TJournalArgs& args, const TReplaceOptions& options,
                      const std::function<int(const TCommandResult&)>& report, std::ostream& out);

// "Run R3 is journalled. To undo it: ...", when the run was journalled.
void PrintRunLine(std::ostream& out, const std::string& runId);
// An undo's records left alone: the count line and its samples; nothing when none.
void PrintUndoTally(std::ostream& out, const TUndoTally& tally);
