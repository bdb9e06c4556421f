// Fatal signals (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT): on an alternate stack, one log entry
// is appended to the event log, after which the signal's default action ends the process, so
// that the exit status still shows the signal.
//
// A signal handler may only use async-signal-safe means: everything the entry needs but the
// time, the thread id, the diagnostic level (which marker files exist) and the call stack is
// built in advance by PrepareFatalSignalLog, and the log's folder is held open as a descriptor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The pieces of the entry, as the event log writes one:
//   [CRLF when the file is not empty]
//   HeaderBefore + "dd/mm/yyyy hh:mm:ss:zzz" + HeaderAfter + CRLF
//   ProcNamePrefix + level + CRLF + CRLF
//   level 1: "\r\n<file> - <line>" per frame
//   level 2, 3: the report: ReportHead, signal and thread lines, the frames with functions,
//               ModulesText
//   CRLF + "ExceptionThreadID: <tid>" CRLF "Win32ExceptionRecord: <signal>" CRLF
//   CRLF CRLF
struct TFatalSignalLog {
  std::string LogFolder;  // with trailing delimiter; empty: nothing is written
  std::string LogFileName;
  std::string HeaderBefore;
  std::string HeaderAfter;
  std::string ProcNamePrefix;
  std::vector<std::string> Level3Markers;  // a level-3 marker existing gives level 3
  std::vector<std::string> Level2Markers;  // otherwise a level-2 marker gives level 2
  std::string ReportHead;                  // program and version lines of the report
  std::string ModulesText;                 // loaded-modules lines of the report
  int64_t UtcOffsetSeconds = 0;            // local time = UTC + this
};

// Installs the handlers and their alternate stack (once; later calls do nothing).
void InstallFatalSignalHandlers();
// Puts back the handlers that were there before InstallFatalSignalHandlers.
void RemoveFatalSignalHandlers();
// Copies the pieces where the handler finds them and opens the log folder; replaces earlier
// pieces. Not to be called while a fatal signal is being handled.
void PrepareFatalSignalLog(const TFatalSignalLog& log);
// Ends the process with SIGABRT's default action, without the handler writing an entry: for a
// failure that has already been logged (std::terminate).
[[noreturn]] void AbortWithoutFatalEntry();
