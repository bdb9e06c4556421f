// Another station for the tests: a process of its own, started by fork, that opens the lock
// table "SysLock.adt" on a connection of its own and holds it until the test lets it go (or
// kills it). Header-only.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "tests/support/CrmTestInstall.h"

class THolderStation {
 public:
  explicit THolderStation(const TCrmTestInstall& install) {
    int ready[2];
    int release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) ADD_FAILURE() << "no pipes";
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      for (int other : OpenReleases()) close(other);  // the other stations' ends
      char answer = 'n';
      try {
        auto db = install.Open();
        auto table = db->OpenTable("SysLock.adt", {});
        answer = 'y';
        (void)!write(ready[1], &answer, 1);
        (void)!read(release[0], &answer, 1);  // end of file: the test lets go
      } catch (...) {
        (void)!write(ready[1], &answer, 1);
      }
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    OpenReleases().push_back(release_);
    char answer = 'n';
    EXPECT_EQ(read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y') << "the station could not open the lock table";
    close(ready[0]);
  }
  ~THolderStation() { Stop(); }
  THolderStation(const THolderStation&) = delete;
  THolderStation& operator=(const THolderStation&) = delete;

  // Closes the table and ends the process in order.
  void Stop() {
    if (pid_ <= 0) return;
    ForgetRelease();
    close(release_);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  // Ends the process without closing anything.
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    ForgetRelease();
    close(release_);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  // The release ends the test holds: a station closes the others' so that each sees the end
  // of its own pipe when the test lets it go.
  static std::vector<int>& OpenReleases() {
    static std::vector<int> releases;
    return releases;
  }
  void ForgetRelease() {
    auto& releases = OpenReleases();
    releases.erase(std::remove(releases.begin(), releases.end(), release_), releases.end());
  }

  pid_t pid_ = -1;
  int release_ = -1;
};
