// The other stations at work on the database: with the local server the stations holding the
// lock table "SysLock.adt" open (db/SysLock.h), with a remote server the other stations
// connected to the same database (each once, whatever sessions it holds). The engine counts them
// without disturbing them (TAceConnection::OtherStations); this station's own open lock table is
// not counted.
#pragma once

#include <optional>

// None when the main connection is not open or the engine cannot tell (the remote engine until
// it counts its sessions). EADSDatabaseError when counting fails.
std::optional<int> CountOtherStations();
