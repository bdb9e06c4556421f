#include "tests/support/ProgramUnitsReset.h"

#include "app/ProgramUnits.h"
#include "platform/Platform.h"

void ResetProgramUnits() {
  StopProgramUnits();
  Platform().Reset();
}
