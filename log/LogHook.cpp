#include "log/LogHook.h"

TLogHookProc LogHook = nullptr;

void CallLogHook(const std::string& Name, const std::string& Text) {
  if (!LogHook) return;
  try {
    LogHook(Name, Text);
  } catch (...) {
    // Logging never fails its caller.
  }
}
