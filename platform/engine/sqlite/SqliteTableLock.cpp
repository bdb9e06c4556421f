#include "platform/engine/sqlite/SqliteTableLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/SysUtils.h"
#include "platform/engine/EADSDatabaseError.h"

TSqliteTableLock::TSqliteTableLock(const std::string& databaseFile, const std::string& table,
                                   bool exclusive) {
  const std::string path = databaseFile + "." + UpperCase(table) + ".lock";
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) return;
  if (flock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    close(fd_);
    fd_ = -1;
    throw EADSDatabaseError("The table " + table + " is in use by another station" +
                                (exclusive ? " and cannot be opened exclusively" : ""),
                            AdsErrTableInUse, 0, table);
  }
}

TSqliteTableLock::~TSqliteTableLock() {
  if (fd_ >= 0) close(fd_);
}
