#include "startup/StartUpGuard.h"

#include <cstdlib>
#include <memory>

#include "common/DateUtils.h"
#include "common/IniFile.h"
#include "common/PathUtils.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "host/Clock.h"
#include "host/SysFolders.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "startup/ClientUpgrade.h"
#include "startup/GuardMessages.h"
#include "startup/MaintenanceStop.h"
#include "startup/ProgramHalt.h"
#include "startup/ProgramKinds.h"

namespace {

struct TGuardState {
  std::string mutexName;  // the server run mutex, when this program holds one
};

// The guard's state while its program unit runs: made by RunStartUpGuard (which runs once per
// start of the unit), freed by ReleaseStartUpGuard.
constinit std::unique_ptr<TGuardState> state;

std::string ComparableFolder(const std::string& folder) {
  return UpperCase(Trim(RemoveTrailingPathDelim(folder)));
}

void CreateServerRunMutex() {
  state->mutexName = ServerRunMutexName(Now());
  // Whether another run already holds it does not matter: start-up goes on either way.
  Platform().System().AcquireNamedMutex(state->mutexName);
}

}  // namespace

std::string ReadUniqueServiceName() {
  try {
    return ReadIniString(ChangeFileExt(ProgramFullPath(), ".ini"), "Pref", "UniqueServiceName", "");
  } catch (...) {
    return {};
  }
}

std::string ServerRunMutexName(TDateTime startTime) {
  return ChangeFileExt(ProgramFileName(), "") + ReadUniqueServiceName() +
         FormatDateTime("ddmmyyhhmmss", startTime);
}

std::string HeldServerRunMutexName() {
  return state ? state->mutexName : std::string();
}

void CheckNotRunFromLastVer() {
  if (ComparableFolder(ProgramModuleFolder()) != ComparableFolder(LastVerFolder())) return;
  ShowGuardMessage(LoadStr(sGuardLastVerRefusal));
  throw EProgramHalt(0);
}

void RunStartUpGuard() {
  if (state) return;
  state = std::make_unique<TGuardState>();
  ClearUpgradeStarted();
  // The regional separators fixed before the guard stay in force: nothing here reloads the
  // system's regional settings when they change, so there is no automatic reload to switch off.
  std::srand(static_cast<unsigned>(Platform().System().TickCount()));
  const TProgramIdentity program = CurrentProgram();
  if (IsServerProgram(program)) CreateServerRunMutex();
  CheckNotRunFromLastVer();
  if (CheckMaintenanceStop(true, program)) {
    if (MustHaltWhenRefused(program)) throw EProgramHalt(0);
    return;
  }
  if (!program.Library) {
    std::string fileList;
    CheckClientUpgrade(true, true, false, fileList);
  }
}

void ReleaseStartUpGuard() {
  const std::unique_ptr<TGuardState> held = std::move(state);
  if (held && !held->mutexName.empty()) Platform().System().ReleaseNamedMutex(held->mutexName);
}
