#include "app/TestCrashTrigger.h"

#ifdef VRL_TEST_TRIGGERS
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {
volatile int* NullTarget = nullptr;

[[gnu::noinline]] void Throw(const char* message) {
  throw std::runtime_error(message);
}

[[gnu::noinline]] void ThrowThroughNoexcept() noexcept {
  Throw("thrown through noexcept");
}
}  // namespace

void RunTestCrashTrigger() {
  const char* value = std::getenv("VRL_TEST_CRASH");
  if (!value) return;
  const std::string fault = value;
  if (fault == "segv") *NullTarget = 1;
  if (fault == "abort") std::abort();
  if (fault == "noexcept") ThrowThroughNoexcept();
  if (fault == "throw") Throw("test fault from a handler");
  if (fault == "throwint") throw 42;
}
#else
void RunTestCrashTrigger() {}
#endif
