// Where the remote database server is: the section [VarnelRemote] of the engine settings file
// "ads.ini" beside the program, with the keys Host, Port, Database and User, and SslMode when
// the server wants one. The file holds no password: libpq's password file (~/.pgpass or
// PGPASSFILE) and its environment (PGPASSWORD) supply one when the server asks.
#pragma once

#include <string>

inline constexpr const char* RemoteServerSection = "VarnelRemote";

// The libpq conninfo for the server the file names. EADSDatabaseError (AdsErrNoServerSettings)
// naming the file and what is missing: the file, the section or a key (empty counts as
// missing). Section and key names are matched without case.
std::string RemoteConninfoFromIni(const std::string& iniFile);
