// Starting programs and holding named mutexes on POSIX.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

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
