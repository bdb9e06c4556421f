// What tells the server one station from another. Every session of a connection (its own and
// the extra sessions it writes through) gives the server the same application name, the
// connection's station name, so the other stations are counted once each whatever sessions
// they hold; and the names of the locks kept on the server, turned into the server's keys.
#pragma once

#include <cstdint>
#include <string>

// The prefix of every station name: a session whose application name starts with it belongs to
// a station of this engine.
inline constexpr const char* PgStationPrefix = "VrlStation ";

// A name no other connection has: the prefix, the process id with the connection's own number in
// the process, and the host name, in printable ASCII, cut to the server's 63 bytes (the host
// name last, so the cut leaves what tells processes apart).
std::string PgNewStationName();

// The server's key of a lock name (pg_try_advisory_lock): the same on every station for the same
// name. The server keeps such locks per database.
int64_t PgServerLockKey(const std::string& name);
