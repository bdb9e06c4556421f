#include "platform/engine/sqlite/SqliteTableLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "common/FileUtils.h"
#include "common/SysUtils.h"
#include "platform/EADSDatabaseError.h"

namespace {

// No holder looks past this slot; a station that finds none free stays uncounted.
constexpr off_t kMaxSlots = 4096;

std::string LockFilePath(const std::string& databaseFile, const std::string& table) {
  return databaseFile + "." + UpperCase(table) + ".lock";
}

struct flock SlotRange(short type, off_t slot, off_t length = 1) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = slot;
  range.l_len = length;  // 0: to the end of any file
  return range;
}

// The slots this process holds, per lock file: a record lock of another open file of the same
// process conflicts like any other station's, so the count leaves these out. Made with the first
// open table and freed with the last one closed, so nothing of it is left when the program units
// have closed the main connection.
constinit std::mutex ownSlotsMutex;
constinit std::unique_ptr<std::map<std::string, int>> ownSlots;

void CountOwnSlot(const std::string& path, int change) {
  std::lock_guard<std::mutex> guard(ownSlotsMutex);
  if (!ownSlots) ownSlots = std::make_unique<std::map<std::string, int>>();
  if (((*ownSlots)[path] += change) <= 0) ownSlots->erase(path);
  if (ownSlots->empty()) ownSlots.reset();
}

int OwnSlots(const std::string& path) {
  std::lock_guard<std::mutex> guard(ownSlotsMutex);
  if (!ownSlots) return 0;
  auto it = ownSlots->find(path);
  return it == ownSlots->end() ? 0 : it->second;
}

// Raised for a lock file's name that holds a link or no regular file: the name is never followed.
[[noreturn]] void RaiseNotALockFile(const std::string& path, const std::string& table) {
  throw EADSDatabaseError("The lock file " + path +
                              " is a link or not a regular file; it is not followed. Remove it "
                              "so that the table can be opened.",
                          AdsErrTableInUse, 0, table);
}

// Opens (creating when missing) the table's lock file, shared with the installation's group
// (OpenSharedFile: 0664 whatever the umask, never through a link). A file an earlier version
// created without the group's write bit is given it by its owner, so the group's other users
// can take their slots again. A user who may only read the file still shares the table's lock
// (without a slot: that station goes uncounted). -1 when the file cannot be had at all (a
// read-only database folder): the table stays unlocked.
int OpenLockFile(const std::string& path, const std::string& table) {
  bool created = false;
  int fd = OpenSharedFile(path, O_RDWR, created);
  if (fd < 0 && errno == EACCES) fd = OpenSharedFile(path, O_RDONLY, created);
  if (fd < 0) {
    if (errno == ELOOP || errno == EINVAL || errno == EISDIR) RaiseNotALockFile(path, table);
    return -1;
  }
  struct stat st {};
  if (!created && fstat(fd, &st) == 0 && st.st_uid == geteuid() && !(st.st_mode & S_IWGRP))
    fchmod(fd, (st.st_mode & 07777) | 0664);
  return fd;
}

// Takes the first free station slot of the open lock file; false when none could be had.
bool TakeSlot(int fd) {
  for (off_t slot = 0; slot < kMaxSlots; ++slot) {
    struct flock range = SlotRange(F_WRLCK, slot);
    if (fcntl(fd, F_OFD_SETLK, &range) == 0) return true;
    if (errno != EAGAIN && errno != EACCES) return false;
  }
  return false;
}

// Whether a record lock of another open file covers [slot, slot + length) (length 0: onwards).
bool SlotsTaken(int fd, off_t slot, off_t length, const std::string& path) {
  struct flock range = SlotRange(F_WRLCK, slot, length);
  if (fcntl(fd, F_OFD_GETLK, &range) != 0)
    throw EADSDatabaseError("The lock file " + path + " cannot be read", AdsErrTableInUse);
  return range.l_type != F_UNLCK;
}

}  // namespace

TSqliteTableLock::TSqliteTableLock(const std::string& databaseFile, const std::string& table,
                                   bool exclusive) {
  const std::string path = LockFilePath(databaseFile, table);
  fd_ = OpenLockFile(path, table);
  if (fd_ < 0) return;
  if (flock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    close(fd_);
    fd_ = -1;
    throw EADSDatabaseError("The table " + table + " is in use by another station" +
                                (exclusive ? " and cannot be opened exclusively" : ""),
                            AdsErrTableInUse, 0, table);
  }
  if (TakeSlot(fd_)) {
    path_ = path;
    CountOwnSlot(path_, +1);
  }
}

TSqliteTableLock::~TSqliteTableLock() {
  if (fd_ >= 0) close(fd_);
  if (!path_.empty()) CountOwnSlot(path_, -1);
}

int TSqliteTableLock::OtherHolders(const std::string& databaseFile, const std::string& table) {
  const std::string path = LockFilePath(databaseFile, table);
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return 0;
    if (errno == ELOOP) RaiseNotALockFile(path, table);
    throw EADSDatabaseError("The lock file " + path + " cannot be opened", AdsErrTableInUse);
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    RaiseNotALockFile(path, table);
  }
  int holders = 0;
  try {
    // Slots are taken from the lowest free one, so they lie close together from offset 0.
    for (off_t slot = 0; slot < kMaxSlots && SlotsTaken(fd, slot, 0, path); ++slot) {
      if (SlotsTaken(fd, slot, 1, path)) ++holders;
    }
  } catch (...) {
    close(fd);
    throw;
  }
  close(fd);
  // The own slots were counted with the others: this open file is not theirs.
  return std::max(0, holders - OwnSlots(path));
}
