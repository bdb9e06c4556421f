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
// points LogHook and ApplicationOnException at the log.
void StartEventLog(const std::string& logName);
// Frees the writer and unsets LogHook and ApplicationOnException (safe when not started).
void StopEventLog();

// Writes one entry with an event name and a text.
void LogEvent(const std::string& name, const std::string& text);
// Writes one entry on behalf of sender (may be none) with an exception (may be none).
void LogEventEx(const TObject* sender, const std::string& name, const std::string& text,
                const std::exception* e);

// The application's exception event: an exception that escaped an event handler (window
// program) or the replace command (console program) is logged, and nothing is shown.
void AppException(const TObject* sender, const std::exception& e);
// Tells the user that an error was logged, unless it is engine error 5041.
void ShowLoggedMessage(const std::exception& e);

// Where the program entries hand an escaped exception. Starting the log installs AppException,
// after which the exception is logged and the user gets the "Message registered in log file:"
// box; before the log starts the exception's message is shown in an error box.
using TExceptionEvent = void (*)(const TObject* sender, const std::exception& e);
extern TExceptionEvent ApplicationOnException;
void HandleApplicationException(const TObject* sender, const std::exception& e);
