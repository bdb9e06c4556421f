// The remote server of a demo installation (VrlDemoInstall --remote CONNINFO): where it is, as
// the [VarnelRemote] section of ads.ini names it, and the CRM schema laid into its database.
#pragma once

#include <string>

#include "platform/engine/postgres/RemoteServerSettings.h"

// The server as ads.ini names it. No password: libpq's password file and environment serve.
struct TRemoteServerSettings {
  std::string Host;
  std::string Port;
  std::string Database;
  std::string User;
  std::string SslMode;  // empty: libpq's default
};

// The settings CONNINFO (a libpq conninfo string or URI) gives; what it leaves out stays empty.
// Throws std::invalid_argument with libpq's reason when it is not a conninfo.
TRemoteServerSettings ParseRemoteConninfo(const std::string& conninfo);
// The text of the ads.ini section that names the server (SslMode only when set).
std::string RemoteIniText(const TRemoteServerSettings& settings);
// The conninfo of settings, as the remote programs connect with it.
std::string RemoteConninfo(const TRemoteServerSettings& settings);

// Connects with conninfo, refuses (std::runtime_error, nothing changed) a database that already
// holds any CRM table, and creates the CRM schema translated for PostgreSQL in one transaction.
// Returns the settings the live connection used, libpq's defaults filled in for what conninfo
// left out.
TRemoteServerSettings CreateRemoteCrmSchema(const std::string& conninfo);
