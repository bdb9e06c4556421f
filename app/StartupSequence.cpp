#include "app/StartupSequence.h"

#include <string>

#include "common/FormatSettings.h"
#include "common/SysFolders.h"
#include "db/EngineClientCheck.h"
#include "db/SysLock.h"
#include "log/EventLog.h"
#include "log/ExceptionManager.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "settings/DatLangDM_Unit.h"
#include "settings/DatPrefDM_Unit.h"
#include "settings/SetTokenDataForUser.h"
#include "startup/ProgramHalt.h"
#include "startup/StartUpGuard.h"
#include "ui/DatGenWebHelpLinkMgr_Unit.h"
#include "ui/MessageLayout.h"
#include "ui/OnlineLinkFlags.h"

TProgramUnits::TProgramUnits() {
  LoadSystemFolderDefaults();
  InitFormatSettings();
  CreateHEMgr();
  try {
    RunStartUpGuard();
  } catch (const EProgramHalt& halt) {
    halted_ = true;
    haltExitCode_ = halt.ExitCode();
  }
}

TProgramUnits::~TProgramUnits() {
  FreeDatPrefDM();
  FreeDatLangDM();
  ReleaseSysLock();
  // The message dialog and help link units; the link manager may still write to the log.
  FreeWebHelpLinkMgr();
  FreeOnlineLinkFlags();
  FreeButtonWidthCache();
  StopEventLog();
  ReleaseStartUpGuard();
  FreeHEMgr();
}

TStartupOutcome RunStartupChecks(const TObject* window, TEurekaLog* captureComponent) {
  StartAppEventLog();
  InitEurekaLog(captureComponent);
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
