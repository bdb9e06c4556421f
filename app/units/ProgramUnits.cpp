#include "app/units/ProgramUnits.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/FormatSettings.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/SysLock.h"
#include "host/FormatSetup.h"
#include "host/SysFolders.h"
#include "log/EurekaLog.h"
#include "log/EventLog.h"
#include "log/ExceptionManager.h"
#include "settings/DatLangDM_Unit.h"
#include "settings/DatPrefDM_Unit.h"
#include "startup/ProgramHalt.h"
#include "startup/StartUpGuard.h"
#include "ui/DatGenWebHelpLinkMgr_Unit.h"
#include "ui/MessageLayout.h"
#include "ui/OnlineLinkFlags.h"

namespace {

// The list. A new subsystem with state adds its unit at its place here.
constexpr std::array units{
    TProgramUnit{"SystemFolders", LoadSystemFolderDefaults, FreeSystemFolders},
    TProgramUnit{"RegionalFormats", InitFormatSettings, FreeFormatSettings},
    TProgramUnit{"ExceptionManager", CreateHEMgr, FreeHEMgr},
    // May end the process (EProgramHalt): its own stop step still runs.
    TProgramUnit{"StartupGuard", RunStartUpGuard, ReleaseStartUpGuard},
    TProgramUnit{"EventLog", StartAppEventLog, StopEventLog},
    // The message dialog and help link units; the link manager may still write to the log.
    TProgramUnit{"MessageDialog", nullptr, FreeButtonWidthCache},
    TProgramUnit{"OnlineLinkFlags", nullptr, FreeOnlineLinkFlags},
    TProgramUnit{"WebHelpLinks", nullptr, FreeWebHelpLinkMgr},
    TProgramUnit{"MainConnection", nullptr, FreeDBConnectionDM},
    // The lock table lives on the main connection: it stops first.
    TProgramUnit{"SysLock", nullptr, ReleaseSysLock},
    // The language module and the preference store read through the main connection.
    TProgramUnit{"Language", nullptr, FreeDatLangDM},
    TProgramUnit{"Preferences", nullptr, FreeDatPrefDM},
};

}  // namespace

std::span<const TProgramUnit> ProgramUnitList() {
  return units;
}

void StopProgramUnits(std::size_t count) {
  for (std::size_t i = std::min(count, units.size()); i-- > 0;) {
    try {
      units[i].Stop();
    } catch (...) {
      // the process ends anyway; the other units still get to release what they hold
    }
  }
}

TProgramUnits::TProgramUnits() {
  try {
    for (const TProgramUnit& unit : units) {
      if (unit.Start) unit.Start();
      ++started_;
    }
  } catch (...) {
    StopProgramUnits(started_ + 1);  // the failing unit too: it may hold part of its work
    throw;
  }
}

TProgramUnits::~TProgramUnits() {
  StopProgramUnits(started_);
}

int RunWithProgramUnits(const TObject* sender, const std::function<int()>& body, int failedCode,
                        int haltCode, const TFailureTeller& tell) {
  (void)sender;  // the exception manager reports on behalf of the capture component
  std::optional<TProgramUnits> units;
  try {
    units.emplace();
    return body();
  } catch (const EProgramHalt&) {
    // The start-up guard ended the process and has said why: the orderly halt.
    return haltCode;
  } catch (const std::exception& e) {
    // The exception manager logs it and tells the user (an error box before it exists).
    HandleEscapedException();
    if (tell) tell(e);
  } catch (...) {
    HandleEscapedException();
  }
  return failedCode;
}
