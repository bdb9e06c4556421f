// A remote server as a demo installation names it (VrlDemoInstall --remote CONNINFO): the keys of
// the [VarnelRemote] section of ads.ini that a libpq conninfo gives, and back.
#pragma once

#include <string>

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
// The settings of a live connection with conninfo: what it leaves out filled with what libpq
// used. Throws std::invalid_argument as ParseRemoteConninfo, std::runtime_error with the server's
// reason when it cannot connect.
TRemoteServerSettings ConnectedRemoteSettings(const std::string& conninfo);
// The text of the ads.ini section that names the server (SslMode only when set).
std::string RemoteIniText(const TRemoteServerSettings& settings);
// The conninfo of settings, as the remote programs connect with it.
std::string RemoteConninfo(const TRemoteServerSettings& settings);
