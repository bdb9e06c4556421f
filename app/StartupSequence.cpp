#include "app/StartupSequence.h"

#include <string>

#include "db/EngineClientCheck.h"
#include "db/SysLock.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

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
  Platform().Ui().SetCursor(TCursorKind::crDefault);
  return TStartupOutcome::Ready;
}

}  // namespace

TStartupOutcome RunStartupChecks(const TObject* window, std::string* failure) {
  try {
    return RunChecks(window);
  } catch (const std::exception& e) {
    if (Platform().HasUi()) Platform().Ui().SetCursor(TCursorKind::crDefault);
    HandleApplicationException(window, e);
    if (failure) *failure = e.what();
    return TStartupOutcome::Failed;
  }
}
