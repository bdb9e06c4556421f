#include "app/ProgramUnits.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/FormatSettings.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/SysLock.h"
#include "host/FormatSetup.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"

namespace {

// The list. A new subsystem with state adds its unit at its place here.
constexpr std::array units{
    TProgramUnit{"SystemFolders", LoadSystemFolderDefaults, FreeSystemFolders},
    TProgramUnit{"RegionalFormats", InitFormatSettings, FreeFormatSettings},
    // Slot: "ExceptionManager" comes here, right after the regional formats.
    // Slot: "StartupGuard" comes here, right after the exception manager.
    TProgramUnit{"EventLog", StartAppEventLog, StopEventLog},
    TProgramUnit{"MainConnection", nullptr, FreeDBConnectionDM},
    // The lock table lives on the main connection: it stops first.
    TProgramUnit{"SysLock", nullptr, ReleaseSysLock},
    // Slots: "Preferences", "Language" and "MessageDialog" come here, in that order.
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
                        const TFailureTeller& tell) {
  std::optional<TProgramUnits> units;
  auto handle = [&](const std::exception& e) {
    HandleApplicationException(sender, e);
    if (tell) tell(e);
  };
  try {
    units.emplace();
    return body();
  } catch (const std::exception& e) {
    handle(e);
  } catch (...) {
    handle(std::runtime_error("unknown exception"));
  }
  return failedCode;
}
