#include "log/EurekaLog.h"

#include <cxxabi.h>

#include <atomic>

#include "common/SysUtils.h"
#include "log/EurekaReport.h"
#include "log/FreezeWatchdog.h"
#include "platform/FatalSignals.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "platform/UiServices.h"

namespace {

TEurekaLogOptions Options;
std::atomic<TEurekaLog*> Active{nullptr};
std::terminate_handler PreviousTerminate = nullptr;
// Set while a notification runs on this thread: what the owner logs meanwhile is not reported
// again as a handled exception.
thread_local bool InNotification = false;

uint32_t CurrentThread() {
  try {
    return Platform().System().CurrentThreadId();
  } catch (...) {
    return 0;
  }
}

// Class and message of what was thrown; the exception object when it is one; the stack where
// it was thrown, when it can be had.
void Describe(const std::exception_ptr& thrown, TEurekaExceptionRecord& rec) {
  if (!thrown) {
    rec.ExceptionClass = "std::terminate";
    rec.ExceptionMessage = "terminate called without an active exception";
    return;
  }
  try {
    std::rethrow_exception(thrown);
  } catch (const std::exception& e) {
    rec.ExceptionObject = &e;  // lives as long as the caller's exception_ptr
    rec.ExceptionClass = ExceptionClassName(e);
    rec.ExceptionMessage = e.what();
    rec.CallStack = ThrowSiteCallStack(dynamic_cast<const void*>(&e), nullptr);
  } catch (...) {
    const std::type_info* type = abi::__cxa_current_exception_type();
    rec.CallStack = ThrowSiteCallStack(nullptr, type);
    int status = 0;
    char* name = type ? abi::__cxa_demangle(type->name(), nullptr, nullptr, &status) : nullptr;
    rec.ExceptionClass = name && status == 0 ? name : (type ? type->name() : "unknown");
    std::free(name);
  }
}

// Runs a notification; its own failures never reach the code that was interrupted.
void Notify(const TExceptionNotify& handler, TEurekaExceptionRecord& rec) {
  if (InNotification) return;
  InNotification = true;
  try {
    bool handled = false;
    handler(rec, handled);
  } catch (...) {
  }
  InNotification = false;
}

// Whether a terminate was already reported: a second one (from the report itself) only aborts.
constinit std::atomic<bool> terminateReported{false};

[[noreturn]] void OnTerminate() {
  if (!terminateReported.exchange(true)) {
    if (TEurekaLog* component = Active.load())
      component->NotifyUnhandled(std::current_exception(), 1);
  }
  AbortWithoutFatalEntry();
}

}  // namespace

TEurekaLogOptions& CurrentEurekaLogOptions() {
  return Options;
}

TEurekaLog::TEurekaLog(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {
  TEurekaLog* none = nullptr;
  if (Active.compare_exchange_strong(none, this)) {
    PreviousTerminate = std::set_terminate(OnTerminate);
    InstallFatalSignalHandlers();
  }
}

TEurekaLog::~TEurekaLog() {
  watchdog_.reset();
  TEurekaLog* self = this;
  if (Active.compare_exchange_strong(self, nullptr)) {
    std::set_terminate(PreviousTerminate);
    RemoveFatalSignalHandlers();
  }
}

bool TEurekaLog::NotifyUnhandled(std::exception_ptr thrown, int skip) {
  if (!OnExceptionNotify) return false;
  TEurekaExceptionRecord rec;
  Describe(thrown, rec);
  rec.ThreadID = CurrentThread();
  // Without the throw's own stack, the stack of the code that handles it.
  if (rec.CallStack.empty()) rec.CallStack = CaptureCallStack(skip + 1);
  rec.LogText =
      BuildEurekaReport(rec.ExceptionClass, rec.ExceptionMessage, rec.ThreadID, rec.CallStack);
  Notify(OnExceptionNotify, rec);
  return true;
}

void TEurekaLog::NotifyHandled(const std::exception& e) {
  if (!OnHandledExceptionNotify || !(Options.BehaviourOptions & boHandleHandledExceptions)) return;
  TEurekaExceptionRecord rec;
  rec.ExceptionObject = &e;
  rec.ExceptionClass = ExceptionClassName(e);
  rec.ExceptionMessage = e.what();
  rec.ThreadID = CurrentThread();
  rec.CallStack = ThrowSiteCallStack(dynamic_cast<const void*>(&e), nullptr);
  if (rec.CallStack.empty()) rec.CallStack = CaptureCallStack(2);
  rec.LogText =
      BuildEurekaReport(rec.ExceptionClass, rec.ExceptionMessage, rec.ThreadID, rec.CallStack);
  Notify(OnHandledExceptionNotify, rec);
}

void TEurekaLog::UiLoopTurned() {
  if (!watchdog_) {
    if (!Options.FreezeActivate || Options.FreezeTimeout <= 0) return;
    const int timeout = Options.FreezeTimeout;
    watchdog_ = std::make_unique<TFreezeWatchdog>(std::chrono::seconds(timeout),
                                                  [this, timeout] { ReportFreeze(timeout); });
  }
  watchdog_->Beat();
}

void TEurekaLog::ReportFreeze(int timeoutSeconds) {
  if (!OnExceptionNotify) return;
  // Another thread's stack cannot be read from here: the report goes without one.
  TEurekaExceptionRecord rec;
  rec.ExceptionClass = "Freeze";
  rec.ExceptionMessage =
      "the user interface did not respond for " + std::to_string(timeoutSeconds) + " seconds";
  try {
    rec.ThreadID = Platform().System().MainThreadId();
  } catch (...) {
  }
  rec.LogText = BuildEurekaReport(rec.ExceptionClass, rec.ExceptionMessage, rec.ThreadID, {});
  Notify(OnExceptionNotify, rec);
}

TEurekaLog* ActiveEurekaLog() {
  return Active.load();
}

void HandleEscapedException() {
  const std::exception_ptr thrown = std::current_exception();
  TEurekaLog* component = Active.load();
  if (component && component->NotifyUnhandled(thrown, 1)) return;
  // Before the exception manager is set up: the message in an error box.
  try {
    std::string text = "unknown exception";
    try {
      std::rethrow_exception(thrown);
    } catch (const std::exception& e) {
      text = e.what();
    } catch (...) {
    }
    Platform().Ui().ShowError(text);
  } catch (...) {
  }
}

void ReportHandledException(const std::exception& e) {
  if (TEurekaLog* component = Active.load()) component->NotifyHandled(e);
}

void EurekaUiLoopTurned() {
  if (TEurekaLog* component = Active.load()) component->UiLoopTurned();
}
