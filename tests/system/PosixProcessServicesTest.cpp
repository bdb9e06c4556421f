// Starting programs, holding named mutexes and watching the stop signals on POSIX.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "platform/StopRequest.h"
#include "platform/system/PosixSystemServices.h"

namespace fs = std::filesystem;

TEST(PosixSystemServices, AHiddenStartTellsWhyItFailed) {
  TPosixSystemServices system;
  EXPECT_EQ(system.StartHiddenProgram("/bin/true", {"a \"quoted\" argument"}), 0);
  EXPECT_EQ(system.StartHiddenProgram("/nonexistent/UpgradeClient", {"1"}), ENOENT);
}

TEST(PosixSystemServices, ANamedMutexIsHeldUntilReleased) {
  const std::string name = "VrlMutexTest" + std::to_string(getpid());
  const fs::path lockFile = fs::temp_directory_path() / (name + ".lock");
  TPosixSystemServices first;
  TPosixSystemServices second;
  EXPECT_TRUE(first.AcquireNamedMutex(name));
  EXPECT_TRUE(fs::exists(lockFile));
  EXPECT_FALSE(second.AcquireNamedMutex(name));
  first.ReleaseNamedMutex(name);
  EXPECT_FALSE(fs::exists(lockFile));
  EXPECT_TRUE(second.AcquireNamedMutex(name));
  second.ReleaseNamedMutex(name);
  second.ReleaseNamedMutex(name);  // a second release does nothing
  EXPECT_FALSE(fs::exists(lockFile));
}

namespace {
void (*Disposition(int signal))(int) {
  struct sigaction current = {};
  sigaction(signal, nullptr, &current);
  return current.sa_handler;
}
}  // namespace

// While watched, the stop signals record a request instead of ending the process; a signal the
// process ignores stays ignored; watching off (once per on) puts back what they did before.
TEST(PosixSystemServices, StopSignalsAreRequestsOnlyWhileWatched) {
  TPosixSystemServices system;
  signal(SIGHUP, SIG_IGN);
  ClearStopRequest();
  system.WatchStopSignals(true);
  system.WatchStopSignals(true);  // nested
  raise(SIGTERM);
  EXPECT_EQ(StopRequested(), SIGTERM);
  raise(SIGINT);  // the first request stands
  EXPECT_EQ(StopRequested(), SIGTERM);
  EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
  system.WatchStopSignals(false);
  EXPECT_NE(Disposition(SIGTERM), SIG_DFL);  // the outer watch goes on
  system.WatchStopSignals(false);
  EXPECT_EQ(Disposition(SIGTERM), SIG_DFL);
  EXPECT_EQ(Disposition(SIGINT), SIG_DFL);
  EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
  ClearStopRequest();
  EXPECT_EQ(StopRequested(), 0);
  signal(SIGHUP, SIG_DFL);
}
