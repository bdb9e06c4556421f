#include "tests/support/ProgramUnitsReset.h"

#include "app/units/ProgramUnits.h"
#include "platform/Platform.h"

void ResetProgramUnits() {
  StopProgramUnits();
  Platform().Reset();
}
