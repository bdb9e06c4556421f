// The event log's entry points: every unit writes events through LogEvent and LogEventEx. The
// log is started by the main window before anything else and stopped at the end of the process;
// before it starts and after it stops both calls do nothing.
#pragma once

#include <exception>
#include <string>

class TObject;
class THandleExceptions;

// The single writer; none until started.
THandleExceptions* EventLog();

// Starts the log under the program's own name (ProgramBasedName("", "")).
void StartAppEventLog();
// Starts the log when it is not running, and in every case switches it to logName. Starting
// points LogHook at the log.
void StartEventLog(const std::string& logName);
// Frees the writer and unsets LogHook (safe when not started).
void StopEventLog();

// Writes one entry with an event name and a text.
void LogEvent(const std::string& name, const std::string& text);
// Writes one entry on behalf of sender (may be none) with an exception (may be none). An
// exception logged here was handled by the program: the exception-capture component is told
// (it reports handled exceptions only when its options ask for them).
void LogEventEx(const TObject* sender, const std::string& name, const std::string& text,
                const std::exception* e);

// Tells the user that an error was logged, unless it is engine error 5041. Exceptions escaping
// an event handler reach it through the exception manager (log/ExceptionManager.h).
void ShowLoggedMessage(const std::exception& e);
