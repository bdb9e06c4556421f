// The console program with the test-only fault trigger as its start hook.
#include "app/console/ConsoleEntry.h"
#include "app/units/ProgramStartHook.h"
#include "tests/support/TestCrashTrigger.h"

int main(int argc, char** argv) {
  SetProgramStartHook(RunTestCrashTrigger);
  return RunConsoleEntry(argc, argv);
}
