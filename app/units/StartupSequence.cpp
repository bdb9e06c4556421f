#include "app/units/StartupSequence.h"

#include <string>

#include "db/EngineClientCheck.h"
#include "db/SysLock.h"
#include "log/EurekaLog.h"
#include "log/EventLog.h"
#include "log/ExceptionManager.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "settings/SetTokenDataForUser.h"

namespace {

TStartupOutcome RunChecks(const TObject* window) {
  std::string message;
  if (!CheckEngineClient(message)) {
    Platform().Ui().ShowMessage(message, TMessageKind::mkError);
    LogEventEx(window, "VrlHlt-0", message, nullptr);
    return TStartupOutcome::EngineClientRefused;
  }
  if (!CheckSysLock(false)) {
    LogEventEx(window, "VrlHlt-1", "", nullptr);
    return TStartupOutcome::DatabaseUnreachable;
  }
  // The preferences of all users; a failure has been logged and start-up goes on.
  SetTokenDataForUser("-1");
  Platform().Ui().SetCursor(TCursorKind::crDefault);
  return TStartupOutcome::Ready;
}

}  // namespace

TStartupOutcome RunStartupChecks(const TObject* window, TEurekaLog* captureComponent,
                                 std::string* failure) {
  try {
    // The event log has started with the program units; the manager gets its component now.
    InitEurekaLog(captureComponent);
    return RunChecks(window);
  } catch (const std::exception& e) {
    if (Platform().HasUi()) Platform().Ui().SetCursor(TCursorKind::crDefault);
    // The exception manager logs it and tells the user.
    HandleEscapedException();
    if (failure) *failure = e.what();
    return TStartupOutcome::Failed;
  }
}
