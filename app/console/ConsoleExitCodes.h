// The console program's exit codes, in one place for every command:
//   0   completed;
//   1   refused or cancelled (a start-up guard refusal, a path refused, no confirmation, another
//       command running, an unknown run, a run already undone or complete), or an undo that
//       left records changed or deleted since the run alone;
//   2   the installation named (--installation, VRL_INSTALLATION) is none, a start-up check
//       or a pass failed, the report cannot be written, the undo journal is missing, cannot be
//       read or has lost rows of the run;
//   64  wrong usage;
//   128 + the signal: a stop signal (SIGINT 130, SIGTERM 143, SIGHUP 129) stopped the rewrite;
//       what was done is kept and the run can be resumed (StoppedExitCode, RewriteCommand.h).
#pragma once

enum TConsoleExitCode {
  ecCompleted = 0,
  ecRefused = 1,
  ecFailed = 2,
  ecUsage = 64,
};
