// The window program with the test-only fault trigger as its start hook.
#include "app/units/ProgramStartHook.h"
#include "app/window/WindowEntry.h"
#include "tests/support/TestCrashTrigger.h"

int main(int argc, char** argv) {
  SetProgramStartHook(RunTestCrashTrigger);
  return RunWindowEntry(argc, argv);
}
