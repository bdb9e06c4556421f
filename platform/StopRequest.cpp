#include "platform/StopRequest.h"

#include <atomic>
#include <csignal>

namespace {
// Lock-free, so a signal handler may store into it.
constinit std::atomic<int> pendingStop{0};
static_assert(std::atomic<int>::is_always_lock_free);
}  // namespace

int StopRequested() {
  return pendingStop.load(std::memory_order_relaxed);
}

void RequestStop(int signal) {
  int none = 0;
  pendingStop.compare_exchange_strong(none, signal, std::memory_order_relaxed);
}

void ClearStopRequest() {
  pendingStop.store(0, std::memory_order_relaxed);
}

std::string StopSignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "signal " + std::to_string(signal);
  }
}
