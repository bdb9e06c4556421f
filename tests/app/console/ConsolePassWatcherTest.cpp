#include "app/console/ConsolePassWatcher.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(ConsolePassWatcherTest, DrawsOneLineEndedAtTheEndOfThePass) {
  std::ostringstream err;
  TConsolePassWatcher watcher(err, "Documents", true);
  watcher.Progress(0, 3);
  watcher.Progress(3, 3);
  watcher.Finish();  // already ended: nothing more
  EXPECT_EQ(err.str(), "\rDocuments: 0 of 3\rDocuments: 3 of 3\n");
}

TEST(ConsolePassWatcherTest, SilentWithoutATerminalAndKeepsTheFirstTwentyRewrites) {
  std::ostringstream err;
  TConsolePassWatcher watcher(err, "Cards", false);
  for (int i = 0; i < 30; ++i) {
    watcher.Progress(i, 30);
    watcher.Rewritten("old" + std::to_string(i), "new" + std::to_string(i));
  }
  watcher.Finish();
  EXPECT_EQ(err.str(), "");
  ASSERT_EQ(watcher.Samples().size(), TConsolePassWatcher::MaxSamples);
  EXPECT_EQ(watcher.Samples().back(), std::make_pair(std::string("old19"), std::string("new19")));
}

TEST(ConsolePassWatcherTest, APassEndingEarlyStillEndsItsLine) {
  std::ostringstream err;
  TConsolePassWatcher watcher(err, "Cards", true);
  watcher.Progress(1, 5);
  watcher.Finish();
  EXPECT_EQ(err.str(), "\rCards: 1 of 5\n");
}

}  // namespace
