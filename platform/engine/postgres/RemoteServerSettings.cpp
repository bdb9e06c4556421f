#include "platform/engine/postgres/RemoteServerSettings.h"

#include <ini.h>

#include <filesystem>
#include <map>

#include "common/SysUtils.h"
#include "platform/EADSDatabaseError.h"
#include "platform/engine/postgres/PgSupport.h"

namespace {

struct TSection {
  bool found = false;
  std::map<std::string, std::string> keys;  // upper-cased key -> value
};

int TakeKey(void* user, const char* section, const char* name, const char* value) {
  auto& wanted = *static_cast<TSection*>(user);
  if (!SameText(section, RemoteServerSection)) return 1;
  wanted.found = true;
  if (name) wanted.keys[UpperCase(name)] = value ? value : "";
  return 1;
}

}  // namespace

std::string RemoteConninfoFromIni(const std::string& iniFile) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(iniFile, error))
    throw EADSDatabaseError("The engine settings file " + iniFile +
                                " is missing: it names the remote database server in its [" +
                                RemoteServerSection + "] section",
                            AdsErrNoServerSettings);
  TSection section;
  int rc = ini_parse(iniFile.c_str(), &TakeKey, &section);
  if (rc < 0)
    throw EADSDatabaseError("The engine settings file " + iniFile + " cannot be read",
                            AdsErrNoServerSettings);
  if (!section.found)
    throw EADSDatabaseError("The engine settings file " + iniFile + " has no [" +
                                RemoteServerSection + "] section naming the remote database server",
                            AdsErrNoServerSettings);
  std::string conninfo;
  const struct {
    const char* key;
    const char* libpq;
    bool required;
  } keys[] = {{"Host", "host", true},
              {"Port", "port", true},
              {"Database", "dbname", true},
              {"User", "user", true},
              {"SslMode", "sslmode", false}};
  for (const auto& key : keys) {
    auto it = section.keys.find(UpperCase(key.key));
    const std::string value = it == section.keys.end() ? std::string() : Trim(it->second);
    if (value.empty()) {
      if (!key.required) continue;
      throw EADSDatabaseError("The engine settings file " + iniFile + " has no " + key.key +
                                  " in its [" + RemoteServerSection + "] section",
                              AdsErrNoServerSettings);
    }
    conninfo += (conninfo.empty() ? "" : " ") + std::string(key.libpq) + "=" + ConninfoValue(value);
  }
  return conninfo;
}
