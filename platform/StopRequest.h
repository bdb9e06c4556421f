// A request to stop the rewrite under way: made by a stop signal (SIGINT, SIGTERM, SIGHUP) while
// the system services watch for them (TSystemServices::WatchStopSignals), or by a test. The
// rewrite walk looks at it before each record; when it is set, the walk commits what it posted
// and raises EStopRequested, and the command writes its run incomplete and tells how to resume.
#pragma once

#include <string>

#include "common/SysUtils.h"

// The signal number of the pending request; 0 when none is pending.
int StopRequested();
// Records a request (safe inside a signal handler); the first request stands.
void RequestStop(int signal);
// Forgets the pending request (a command starting, or a test).
void ClearStopRequest();
// "SIGTERM", "SIGINT", "SIGHUP", or "signal <n>".
std::string StopSignalName(int signal);

// Raised by a walk that stopped on request, after committing what it posted.
class EStopRequested : public Exception {
 public:
  explicit EStopRequested(int signal)
      : Exception("Stopped by " + StopSignalName(signal)), signal_(signal) {}
  std::string ClassName() const override { return "EStopRequested"; }
  int Signal() const { return signal_; }

 private:
  int signal_;
};
