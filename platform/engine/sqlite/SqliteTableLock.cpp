#include "platform/engine/sqlite/SqliteTableLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "common/SysUtils.h"
#include "platform/engine/EADSDatabaseError.h"

#include <algorithm>

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
// process conflicts like any other station's, so the count leaves these out. Plain data, empty
// again once every table is closed.
std::mutex ownSlotsMutex;
std::map<std::string, int> ownSlots;

void CountOwnSlot(const std::string& path, int change) {
  std::lock_guard<std::mutex> guard(ownSlotsMutex);
  if ((ownSlots[path] += change) <= 0) ownSlots.erase(path);
}

int OwnSlots(const std::string& path) {
  std::lock_guard<std::mutex> guard(ownSlotsMutex);
  auto it = ownSlots.find(path);
  return it == ownSlots.end() ? 0 : it->second;
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
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
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
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return 0;
    throw EADSDatabaseError("The lock file " + path + " cannot be opened", AdsErrTableInUse);
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
