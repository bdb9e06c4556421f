#include "tools/DemoRemoteServer.h"

#include <stdexcept>

#include "common/SysUtils.h"
#include "db/CrmSchema.h"
#include "db/CrmSchemaPostgres.h"
#include "platform/AceDriver.h"
#include "platform/EADSDatabaseError.h"
#include "platform/engine/postgres/PgAceDriver.h"

namespace {

// The statements of a schema script, one by one (its texts hold no semicolon of their own).
std::vector<std::string> Statements(const std::string& script) {
  std::vector<std::string> statements;
  size_t start = 0;
  for (size_t end; (end = script.find(';', start)) != std::string::npos; start = end + 1) {
    const std::string statement = Trim(script.substr(start, end - start));
    if (!statement.empty()) statements.push_back(statement);
  }
  return statements;
}

}  // namespace

TRemoteServerSettings CreateRemoteCrmSchema(const std::string& conninfo) {
  const TRemoteServerSettings settings = ConnectedRemoteSettings(conninfo);
  std::unique_ptr<TAceConnection> db;
  try {
    db = ConnectPg(conninfo);
  } catch (const EADSDatabaseError& e) {
    throw std::runtime_error("cannot connect to the remote server: " + e.Message());
  }
  std::string names;
  for (const std::string& table : SchemaTableNames(CrmSchemaSql()))
    names += (names.empty() ? "'" : ", '") + UpperCase(table) + "'";
  try {
    db->BeginTransaction();
    auto existing = db->OpenQuery(
        "SELECT table_name FROM information_schema.tables WHERE table_schema = "
        "current_schema() AND upper(table_name) IN (" +
            names + ") ORDER BY 1",
        {});
    std::string found;
    for (; !existing->Eof(); existing->Next())
      found += (found.empty() ? "" : ", ") + existing->FieldText(0);
    if (!found.empty())
      throw std::runtime_error("the database " + settings.Database + " already holds CRM tables (" +
                               found +
                               "); a demo installation is laid out only into a database without "
                               "them. Nothing was changed.");
    for (const std::string& statement : Statements(CrmSchemaPostgresSql()))
      db->ExecSQL(statement, {});
    db->Commit();
  } catch (const EADSDatabaseError& e) {
    throw std::runtime_error("the server refused the CRM schema: " + e.Message());
  }
  return settings;
}
