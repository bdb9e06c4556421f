// The system lock table: kept open while the program works with the local database server, so
// that maintenance programs can tell that stations are working. Its check is also where
// start-up first opens the main connection.
#pragma once

// True when start-up may go on: the main connection is open and, with the local server (or
// when forced), "SysLock.adt" is open. False when the database cannot be reached.
bool CheckSysLock(bool force);
// Closes and frees the lock table; run at the end of the process.
void ReleaseSysLock();
// Whether the lock table is open now.
bool SysLockIsOpen();
