// TEurekaLog, the exception-capture component: it catches what the program does not handle,
// gathers the call stack and a report text, and tells its owner through OnExceptionNotify;
// exceptions that the program catches and logs itself are told through
// OnHandledExceptionNotify when CurrentEurekaLogOptions asks for them.
//
// What it catches (the first component created reports, as long as it lives):
//  - exceptions escaping an event handler: the program hands them over with
//    HandleEscapedException from inside its catch block (Qt's notify, the window's handlers,
//    the console program's replace);
//  - std::terminate (an uncaught exception, a noexcept violation): reported, then the process
//    ends with SIGABRT;
//  - the fatal signals SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT: written to the event log by
//    the platform's signal handler from pieces prepared in advance (PrepareFatalSignalLog), then
//    the signal's default action ends the process. No notification runs on that path: a signal
//    handler may not call into the C++ library.
//  - a frozen user-interface loop (freeze detection, off by default): one report, and the
//    program goes on.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Classes.h"
#include "platform/CallStack.h"

class TFreezeWatchdog;

struct TEurekaExceptionRecord {
  // What was thrown, when it is an exception object (a std::exception); none otherwise.
  const std::exception* ExceptionObject = nullptr;
  // The class of what was thrown (also when it is not an exception object), "Freeze" for a
  // frozen user interface.
  std::string ExceptionClass;
  std::string ExceptionMessage;
  uint32_t ThreadID = 0;
  // The system exception record's code: the signal number when a signal was caught; absent on
  // every path that reaches a notification (see TEurekaLog's header comment).
  std::optional<uint32_t> ExceptionCode;
  std::string LogText;  // the report (EurekaReport.h)
  std::vector<TStackFrame> CallStack;
};

using TExceptionNotify =
    std::function<void(TEurekaExceptionRecord& EurekaExceptionRecord, bool& Handled)>;

// The options of the current module that the program changes.
enum TEurekaBehaviourOption : uint32_t {
  boNone = 0,
  boHandleHandledExceptions = 1,  // catch and report exceptions the program handles itself
};
struct TEurekaLogOptions {
  uint32_t BehaviourOptions = boNone;
  bool FreezeActivate = false;
  int FreezeTimeout = 60;  // seconds
};
TEurekaLogOptions& CurrentEurekaLogOptions();

class TEurekaLog : public TComponent {
 public:
  explicit TEurekaLog(TComponent* owner = nullptr, std::string name = "EurekaLog1");
  ~TEurekaLog() override;
  std::string ClassName() const override { return "TEurekaLog"; }
  std::string UnitName() const override { return "EurekaLog"; }

  TExceptionNotify OnExceptionNotify;
  TExceptionNotify OnHandledExceptionNotify;

  // Builds the record of what is being thrown (call from inside a catch block; skip leaves out
  // the innermost frames of the caller's own) and tells OnExceptionNotify. False when the
  // component has no handler for it.
  bool NotifyUnhandled(std::exception_ptr thrown, int skip);
  // Tells OnHandledExceptionNotify when the options ask for handled exceptions.
  void NotifyHandled(const std::exception& e);
  // The user-interface loop turned: feeds the freeze detection, starting it when the options
  // have turned it on.
  void UiLoopTurned();
  // Freeze detection: one report through OnExceptionNotify after timeoutMs without a turn.
  void ReportFreeze(int timeoutSeconds);

 private:
  std::unique_ptr<TFreezeWatchdog> watchdog_;
};

// The component that reports, or none.
TEurekaLog* ActiveEurekaLog();

// An exception escaped an event handler; call from inside the catch
// block. The active component reports it; without one, its message is shown in an error box.
void HandleEscapedException();
// An exception the program caught and logs itself (the event log calls this).
void ReportHandledException(const std::exception& e);
// The window program's event loop turned (called for every event it delivers).
void EurekaUiLoopTurned();
