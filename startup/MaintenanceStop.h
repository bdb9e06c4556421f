// The maintenance stop: an administrator stops the product's programs from starting by putting
// "VarnelStop.INI" into the shared DBSys folder; a station with "VarnelR.Ini" beside its
// programs is exempt.
#pragma once

#include "startup/ProgramKinds.h"

inline constexpr const char* MaintenanceStopMarker = "VarnelStop.INI";
inline constexpr const char* StationExemptionMarker = "VarnelR.Ini";

// True when the stop marker is in DBSysFolder and the exemption marker is not in
// ProgramModuleFolder (the latter is only looked for when the stop marker is there).
bool IsMaintenanceStopActive();

// True when start-up is refused. With the stop active: an interactive utility asks whether to
// open anyway (refused on No); an ordinary client is told of the maintenance; every other
// program is refused without a word. Without ask nothing is shown and an interactive utility
// is not refused.
bool CheckMaintenanceStop(bool ask, const TProgramIdentity& program = CurrentProgram());
