// The engine the program entries put into the platform holder: the connection's server type
// decides which implementation serves it. The local server (stADS_LOCAL) is the SQLite
// stand-in in the database folder; the remote server (stADS_REMOTE) is PostgreSQL, found from
// ads.ini beside the program or from the conninfo given here. Both report version 11.10.
#pragma once

#include <memory>
#include <string>

#include "platform/AceDriver.h"

std::unique_ptr<TAceDriver> CreateEngineDriver();
// The same with the remote server named by a libpq conninfo instead of ads.ini.
std::unique_ptr<TAceDriver> CreateEngineDriver(const std::string& remoteConninfo);
