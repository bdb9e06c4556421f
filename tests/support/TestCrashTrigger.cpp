#include "tests/support/TestCrashTrigger.h"

#include <sys/mman.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {
// A real access fault on a page that allows no access (a null pointer would be undefined
// behaviour, which the sanitizer builds report before the fault).
[[gnu::noinline]] void WriteToForbiddenPage() {
  void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (page != MAP_FAILED) *static_cast<volatile int*>(page) = 1;
}

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
  if (fault == "segv") WriteToForbiddenPage();
  if (fault == "abort") std::abort();
  if (fault == "noexcept") ThrowThroughNoexcept();
  if (fault == "throw") Throw("test fault from a handler");
  if (fault == "throwint") throw 42;
}
