#include "db/ReplaceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/FileUtils.h"
#include "common/PathUtils.h"
#include "db/DatGenDBConnectionDM.h"
#include "host/SysFolders.h"
#include "platform/AceDriver.h"

TReplaceLock::TReplaceLock() = default;

TReplaceLock::~TReplaceLock() {
  Release();
}

TReplaceLock::TResult TReplaceLock::AcquireForInstallation() {
  if (!IsRemoteServerMode()) return Acquire(DatabaseFolder());
  TDBConnectionDM* dm = DBConnectionDM();
  if (!dm || !dm->DBConnection.IsConnected()) {
    Release();
    onServer_ = true;
    path_ = "the remote database server";
    reason_ = "There is no connection to the database server.";
    return TResult::Failed;
  }
  return AcquireOnServer(dm->DBConnection.Handle());
}

TReplaceLock::TResult TReplaceLock::Acquire(const std::string& databaseFolder) {
  Release();
  onServer_ = false;
  path_ = AddTrailingPathDelim(databaseFolder) + ReplaceLockFileName;
  reason_.clear();
  bool created = false;
  // Opened for writing where allowed: over NFS an exclusive flock is a write lock and needs it.
  // A station whose user may not write the file still takes the lock on a local disk.
  int fd = OpenSharedFile(path_, O_RDWR, created);
  if (fd < 0 && errno == EACCES) fd = OpenSharedFile(path_, O_RDONLY, created);
  if (fd < 0) {
    reason_ = std::strerror(errno);
    return TResult::Failed;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) return TResult::Busy;
    reason_ = std::strerror(error);
    return TResult::Failed;
  }
  fd_ = fd;
  return TResult::Held;
}

TReplaceLock::TResult TReplaceLock::AcquireOnServer(TAceConnection& connection) {
  Release();
  onServer_ = true;
  path_ = connection.ServerDatabase();
  reason_.clear();
  try {
    server_ = connection.TryServerLock(ReplaceLockServerName);
  } catch (const std::exception& e) {
    reason_ = e.what();
    return TResult::Failed;
  }
  return server_ ? TResult::Held : TResult::Busy;
}

void TReplaceLock::Release() {
  server_.reset();
  if (fd_ < 0) return;
  // The file stays: removing it would let a replace lock a new file while another holds the old.
  flock(fd_, LOCK_UN);
  close(fd_);
  fd_ = -1;
}
