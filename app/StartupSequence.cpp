#include "app/StartupSequence.h"

#include <string>

#include "common/FormatSettings.h"
#include "common/SysFolders.h"
#include "db/EngineClientCheck.h"
#include "db/SysLock.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "settings/DatLangDM_Unit.h"
#include "settings/DatPrefDM_Unit.h"
#include "settings/SetTokenDataForUser.h"

TProgramUnits::TProgramUnits() {
  LoadSystemFolderDefaults();
  InitFormatSettings();
}

TProgramUnits::~TProgramUnits() {
  FreeDatPrefDM();
  FreeDatLangDM();
  ReleaseSysLock();
  StopEventLog();
}

TStartupOutcome RunStartupChecks(const TObject* window) {
  StartAppEventLog();
  std::string message;
  if (!CheckEngineClient(message)) {
    Platform().Ui().ShowMessage(message);
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
