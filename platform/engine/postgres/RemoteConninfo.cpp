#include "platform/engine/postgres/RemoteConninfo.h"

#include <libpq-fe.h>

#include <memory>
#include <stdexcept>

#include "platform/engine/postgres/PgSupport.h"
#include "platform/engine/postgres/RemoteServerSettings.h"

namespace {
struct TConnCloser {
  void operator()(PGconn* conn) const { PQfinish(conn); }
};
}  // namespace

TRemoteServerSettings ParseRemoteConninfo(const std::string& conninfo) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
  if (!options) {
    std::string reason = error ? error : "out of memory";
    PQfreemem(error);
    while (!reason.empty() && reason.back() == '\n') reason.pop_back();
    throw std::invalid_argument("\"" + conninfo + "\" is not a connection string: " + reason);
  }
  TRemoteServerSettings settings;
  for (PQconninfoOption* option = options; option->keyword; ++option) {
    if (!option->val) continue;
    const std::string keyword = option->keyword;
    if (keyword == "host") settings.Host = option->val;
    if (keyword == "port") settings.Port = option->val;
    if (keyword == "dbname") settings.Database = option->val;
    if (keyword == "user") settings.User = option->val;
    if (keyword == "sslmode") settings.SslMode = option->val;
  }
  PQconninfoFree(options);
  return settings;
}

TRemoteServerSettings ConnectedRemoteSettings(const std::string& conninfo) {
  TRemoteServerSettings settings = ParseRemoteConninfo(conninfo);
  std::unique_ptr<PGconn, TConnCloser> conn(PQconnectdb(conninfo.c_str()));
  if (!conn || PQstatus(conn.get()) != CONNECTION_OK)
    throw std::runtime_error("cannot connect to the remote server: " +
                             std::string(conn ? PQerrorMessage(conn.get()) : "out of memory"));
  PGconn* db = conn.get();
  if (settings.Host.empty()) settings.Host = PQhost(db);
  if (settings.Port.empty()) settings.Port = PQport(db);
  if (settings.Database.empty()) settings.Database = PQdb(db);
  if (settings.User.empty()) settings.User = PQuser(db);
  return settings;
}

std::string RemoteIniText(const TRemoteServerSettings& settings) {
  std::string text = std::string("[") + RemoteServerSection + "]\nHost=" + settings.Host +
                     "\nPort=" + settings.Port + "\nDatabase=" + settings.Database +
                     "\nUser=" + settings.User + "\n";
  if (!settings.SslMode.empty()) text += "SslMode=" + settings.SslMode + "\n";
  return text;
}

std::string RemoteConninfo(const TRemoteServerSettings& settings) {
  std::string conninfo =
      "host=" + ConninfoValue(settings.Host) + " port=" + ConninfoValue(settings.Port) +
      " dbname=" + ConninfoValue(settings.Database) + " user=" + ConninfoValue(settings.User);
  if (!settings.SslMode.empty()) conninfo += " sslmode=" + ConninfoValue(settings.SslMode);
  return conninfo;
}
