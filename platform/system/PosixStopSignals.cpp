// The stop signals while a rewrite runs: SIGINT, SIGTERM and SIGHUP record a stop request
// instead of ending the process, so the rewrite commits what it did and says how to resume.
// Watching nests (a command inside a command); the last one off puts back the dispositions
// found when the first one started.
#include <csignal>
#include <cstddef>
#include <iterator>

#include "platform/StopRequest.h"
#include "platform/system/PosixSystemServices.h"

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Process-wide like the dispositions themselves.
constinit struct sigaction previousActions[std::size(kStopSignals)] = {};
constinit int watchDepth = 0;

extern "C" void OnStopSignal(int signal) {
  RequestStop(signal);
}

}  // namespace

void TPosixSystemServices::WatchStopSignals(bool on) {
  if (on) {
    if (watchDepth++ > 0) return;
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted waits (the engine's busy wait, a socket poll) go on: the walk looks at the
    // request before its next record.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kStopSignals); ++i) {
      sigaction(kStopSignals[i], &action, &previousActions[i]);
      // A signal the process was told to ignore (nohup) stays ignored.
      if (previousActions[i].sa_handler == SIG_IGN)
        sigaction(kStopSignals[i], &previousActions[i], nullptr);
    }
    return;
  }
  if (watchDepth == 0 || --watchDepth > 0) return;
  for (size_t i = 0; i < std::size(kStopSignals); ++i)
    sigaction(kStopSignals[i], &previousActions[i], nullptr);
}
