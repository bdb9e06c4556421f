#include "app/units/ProgramStartHook.h"

namespace {
constinit TProgramStartHook startHook = nullptr;
}  // namespace

void SetProgramStartHook(TProgramStartHook hook) {
  startHook = hook;
}

void RunProgramStartHook() {
  if (startHook) startHook();
}
