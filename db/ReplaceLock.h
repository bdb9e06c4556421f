// The installation's "replace in progress" lock: a lock file beside the database, held with an
// exclusive flock by the one replace that runs, from its confirmation to its clean-up. Every
// window, console and station that shares the database folder takes the same file, so a second
// replace is refused before it changes anything. The lock goes with the process: a replace that
// dies leaves no stale lock behind.
#pragma once

#include <string>

inline constexpr const char* ReplaceLockFileName = "VrlChangeDocsPath.lock";

class TReplaceLock {
 public:
  enum class TResult {
    Held,    // this replace holds the lock
    Busy,    // another replace holds it
    Failed,  // the lock file cannot be opened or locked (Reason tells why)
  };

  TReplaceLock() = default;
  ~TReplaceLock();
  TReplaceLock(const TReplaceLock&) = delete;
  TReplaceLock& operator=(const TReplaceLock&) = delete;

  // Takes the lock of the installation whose database folder is databaseFolder, never waiting.
  TResult Acquire(const std::string& databaseFolder);
  void Release();

  // The lock file's full path, and the system's reason for a failure.
  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  int fd_ = -1;
  std::string path_;
  std::string reason_;
};
