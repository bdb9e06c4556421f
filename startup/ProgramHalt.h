// "End the process": the orderly halt. Deep code throws it; the program entry catches it, runs
// the finalisations of everything started so far and ends with the exit code. It is no
// std::exception on purpose, so handlers that log failures never mistake it for one.
#pragma once

class EProgramHalt {
 public:
  explicit EProgramHalt(int exitCode = 0) : exitCode_(exitCode) {}
  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};
