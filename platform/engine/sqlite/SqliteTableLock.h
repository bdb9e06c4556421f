// The open state of a table as other stations see it. Every open table holds a shared lock on a
// small lock file beside the database ("<database>.<table>.lock"); an exclusive open needs the
// lock alone and fails at once while any station has the table open. The system keeps its lock
// table open this way so that maintenance programs can tell that stations are working. The
// lock goes with the open file: closing the table, or the process ending in any way, frees it.
//
// Counting the stations: a shared flock cannot be counted, so every holder also takes a station
// slot in the same file, an open-file-description record lock (F_OFD_SETLK) on one byte of its
// own, the first free one from offset 0. flock and record locks do not interact on Linux, so the
// slots leave the exclusive-open rule untouched. A counter tests each slot with F_OFD_GETLK,
// which reports a conflicting lock without taking one: the stations at work are never disturbed,
// and a station that ends in any way frees its slot with its open file.
#pragma once

#include <string>

class TSqliteTableLock {
 public:
  // Raises EADSDatabaseError (AdsErrTableInUse) when an exclusive lock cannot be had, and when
  // a link or anything but a regular file stands at the lock file's name (never followed). The
  // lock file is created group-writable (0664) whatever the umask, so every user of the
  // installation's group takes a slot in it. A lock file that cannot be created (a read-only
  // database folder) leaves the table unlocked.
  TSqliteTableLock(const std::string& databaseFile, const std::string& table, bool exclusive);
  ~TSqliteTableLock();
  TSqliteTableLock(const TSqliteTableLock&) = delete;
  TSqliteTableLock& operator=(const TSqliteTableLock&) = delete;

  // The station slots held on the table's lock file by open tables of other processes (the
  // locks of this process are left out); 0 when there is no lock file. EADSDatabaseError when
  // the lock file cannot be read or is a link (not followed).
  static int OtherHolders(const std::string& databaseFile, const std::string& table);

 private:
  int fd_ = -1;
  std::string path_;  // the lock file, while this lock holds a station slot
};
