// The database engine over a remote PostgreSQL server (libpq). Which server: the [VarnelRemote]
// section of ads.ini beside the program (RemoteServerSettings.h), or a conninfo given outright
// (tests, benchmarks). The connect path (the database folder) only names the connection in
// messages; the folder helpers and the log keep using it as before.
#pragma once

#include <memory>
#include <string>

#include "platform/AceDriver.h"

// The server named in ads.ini in the running program's folder, read at each Connect.
std::unique_ptr<TAceDriver> CreatePgAceDriver();
// The server the libpq conninfo names.
std::unique_ptr<TAceDriver> CreatePgAceDriver(const std::string& conninfo);

// A session with the server the conninfo names; EADSDatabaseError with the server's message
// (AdsErrServerUnreachable, AdsErrLoginRefused, AdsErrNoServerDatabase) when it cannot be had.
std::unique_ptr<TAceConnection> ConnectPg(const std::string& conninfo);
