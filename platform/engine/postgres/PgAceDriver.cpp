#include "platform/engine/postgres/PgAceDriver.h"

#include "common/PathUtils.h"
#include "platform/AceDriver.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "platform/engine/postgres/PgConnection.h"
#include "platform/engine/postgres/PgStation.h"
#include "platform/engine/postgres/RemoteServerSettings.h"

namespace {

// ads.ini lies beside the program.
std::string ProgramFolder() {
  return ExtractFilePath(Platform().System().ModuleFileName());
}

class TPgAceDriver : public TAceDriver {
 public:
  explicit TPgAceDriver(std::string conninfo) : conninfo_(std::move(conninfo)) {}
  std::unique_ptr<TAceConnection> Connect(const std::string&, TAdsServerType) override {
    return ConnectPg(conninfo_.empty() ? RemoteConninfoFromIni(ProgramFolder() + EngineSettingsFile)
                                       : conninfo_);
  }
  // The client interface level this engine implements.
  TAceVersion Version() override { return TAceVersion{11, 10, ' '}; }

 private:
  std::string conninfo_;  // empty: from ads.ini
};

// The conninfo as shown in messages: without a password.
std::string Shown(const std::string& conninfo) {
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), nullptr);
  if (!options) return "invalid connection settings";
  std::string shown;
  for (PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || !*o->val || std::string(o->keyword) == "password") continue;
    shown += (shown.empty() ? "" : " ") + std::string(o->keyword) + "=" + o->val;
  }
  PQconninfoFree(options);
  return shown;
}

}  // namespace

std::unique_ptr<TAceDriver> CreatePgAceDriver() {
  return std::make_unique<TPgAceDriver>(std::string());
}

std::unique_ptr<TAceDriver> CreatePgAceDriver(const std::string& conninfo) {
  return std::make_unique<TPgAceDriver>(conninfo);
}

std::unique_ptr<TAceConnection> ConnectPg(const std::string& conninfo) {
  const std::string where = Shown(conninfo);
  std::string station = PgNewStationName();
  return std::make_unique<TPgConnection>(PgOpenSession(conninfo, where, station), conninfo, where,
                                         std::move(station));
}
