// The remote server of a demo installation (VrlDemoInstall --remote CONNINFO): the CRM schema
// laid into its database. Where it is comes from platform/engine/postgres/RemoteConninfo.h.
#pragma once

#include <string>

#include "platform/engine/postgres/RemoteConninfo.h"

// Connects with conninfo, refuses (std::runtime_error, nothing changed) a database that already
// holds any CRM table, and creates the CRM schema translated for PostgreSQL in one transaction.
// Returns the settings the live connection used, libpq's defaults filled in for what conninfo
// left out.
TRemoteServerSettings CreateRemoteCrmSchema(const std::string& conninfo);
