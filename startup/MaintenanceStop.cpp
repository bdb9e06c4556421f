#include "startup/MaintenanceStop.h"

#include "common/FileUtils.h"
#include "common/StrTable.h"
#include "host/SysFolders.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "startup/GuardMessages.h"

bool IsMaintenanceStopActive() {
  if (!FileExists(DBSysFolder() + MaintenanceStopMarker)) return false;
  return !FileExists(ProgramModuleFolder() + StationExemptionMarker);
}

bool CheckMaintenanceStop(bool ask, const TProgramIdentity& program) {
  if (!IsMaintenanceStopActive()) return false;
  if (IsUtilityProgram(program) && IsInteractiveUtility(program))
    return ask && !Platform().Ui().ConfirmYesNo(LoadStr(sGuardMaintenanceConfirm));
  if (IsOrdinaryClient(program) && ask) ShowGuardMessage(LoadStr(sGuardMaintenanceStop));
  return true;
}
