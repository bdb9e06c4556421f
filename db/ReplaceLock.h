// The installation's "replace in progress" lock, held by the one replace (or undo, or resume)
// that runs, from its confirmation to its clean-up, so a second one is refused before it changes
// anything. Where it lives follows the database:
// - the local server: a lock file beside the database, held with an exclusive flock. Every
//   window, console and station that shares the database folder takes the same file;
// - the remote server: a lock the server keeps on the CRM database itself, for the main
//   connection's own session (TAceConnection::TryServerLock). Every station of that database
//   takes the same lock, whatever its database folder or the address it reaches the server by;
//   other databases on the same server are not concerned.
// Either way the lock goes with the process: a replace that dies leaves no stale lock behind.
#pragma once

#include <memory>
#include <string>

class TAceConnection;
class TAceServerLock;

inline constexpr const char* ReplaceLockFileName = "VrlChangeDocsPath.lock";
// The name of the lock on the server; one name for every station, every version.
inline constexpr const char* ReplaceLockServerName = "VrlChangeDocsPath replace";

class TReplaceLock {
 public:
  enum class TResult {
    Held,    // this replace holds the lock
    Busy,    // another replace holds it
    Failed,  // the lock cannot be had for another reason (Reason tells why)
  };

  TReplaceLock();
  ~TReplaceLock();
  TReplaceLock(const TReplaceLock&) = delete;
  TReplaceLock& operator=(const TReplaceLock&) = delete;

  // Takes the lock of this program's installation, never waiting: in remote server mode on the
  // server, through the main connection (Failed when it is not open: no replace can run
  // without it), else the lock file in the installation's database folder.
  TResult AcquireForInstallation();
  // Takes the lock file of the installation whose database folder is databaseFolder.
  TResult Acquire(const std::string& databaseFolder);
  // Takes the lock on the server of the database the connection works on.
  TResult AcquireOnServer(TAceConnection& connection);
  void Release();

  // Whether the lock last asked for is the server's.
  bool OnServer() const { return onServer_; }
  // Where the lock lives: the lock file's full path, or the database and its server; and the
  // reason for a failure.
  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  int fd_ = -1;
  std::unique_ptr<TAceServerLock> server_;
  bool onServer_ = false;
  std::string path_;
  std::string reason_;
};
