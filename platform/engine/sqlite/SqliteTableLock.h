// The open state of a table as other stations see it. Every open table holds a shared lock on a
// small lock file beside the database ("<database>.<table>.lock"); an exclusive open needs the
// lock alone and fails at once while any station has the table open. The system keeps its lock
// table open this way so that maintenance programs can tell that stations are working. The
// lock goes with the open file: closing the table, or the process ending in any way, frees it.
#pragma once

#include <string>

class TSqliteTableLock {
 public:
  // Raises EADSDatabaseError (AdsErrTableInUse) when an exclusive lock cannot be had. A lock
  // file that cannot be created (a read-only database folder) leaves the table unlocked.
  TSqliteTableLock(const std::string& databaseFile, const std::string& table, bool exclusive);
  ~TSqliteTableLock();
  TSqliteTableLock(const TSqliteTableLock&) = delete;
  TSqliteTableLock& operator=(const TSqliteTableLock&) = delete;

 private:
  int fd_ = -1;
};
