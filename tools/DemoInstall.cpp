#include "tools/DemoInstall.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "db/CrmSchema.h"
#include "host/SysFolders.h"
#include "platform/AceDriver.h"
#include "platform/EADSDatabaseError.h"
#include "platform/engine/postgres/PgAceDriver.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tools/DemoBatchInsert.h"
#include "tools/DemoData.h"
#include "tools/DemoLanguages.h"
#include "tools/DemoPrefs.h"
#include "tools/DemoRemoteServer.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrograms[] = {"VrlChangeDocsPath", "VrlChangeDocsPathCli"};
constexpr const char* kFolders[] = {"Utils",   "DB",        "DBSys",    "Logs",
                                    "LastVer", "Templates", "TmpVarnel"};

void WriteFile(const fs::path& file, const std::string& text) {
  std::ofstream stream(file, std::ios::binary);
  stream << text;
  if (!stream) throw std::runtime_error("cannot write " + file.string());
}

void LayOutUtils(const TDemoInstallOptions& options, const fs::path& utils,
                 const std::optional<TRemoteServerSettings>& remote, std::ostream& out) {
  for (const char* program : kPrograms) {
    fs::path source = fs::path(options.ProgramFolder) / program;
    if (!options.ProgramFolder.empty() && fs::exists(source)) {
      fs::copy_file(source, utils / program);
      out << "Copied " << program << " into Utils/\n";
    } else {
      out << "Note: " << program << " is not built yet (not found beside VrlDemoInstall); "
          << "Utils/ goes without it\n";
    }
  }
  for (const char* file : DemoEngineClientFiles)
    WriteFile(utils / file,
              std::string("Engine client file of the demo installation: ") + file + "\n");
  // The engine's server types: 1 the local server, 2 the remote one.
  std::string ini = "; Engine settings of the demo installation\n[SETTINGS]\nADS_SERVER_TYPE=";
  ini += remote ? "2\n\n" + RemoteIniText(*remote) : "1\n";
  WriteFile(utils / EngineSettingsFile, ini);
  // The product's ini file marks Utils as an installation's (--installation, VRL_INSTALLATION
  // ask for it); without a "Path" in [DATABASE] the database is DB beside Utils, wherever the
  // tree is moved or copied.
  WriteFile(utils / ProgramIniFileName,
            "; Settings of the demo installation: the database is DB beside Utils.\n"
            "[DATABASE]\n");
}

void FillCards(TAceConnection& db, const TDemoInstallOptions& options) {
  TDemoBatchInsert cards(db, "Cards", {"RECID", "COMPANY", "CITY", "DOCSFOLDER"});
  const char* cities[] = {"Tel Aviv", "Haifa", "ירושלים", "Beer Sheva", "Eilat"};
  for (int64_t card = 1; card <= options.Cards; ++card)
    cards.Add({DemoCardId(card), DemoCompany(card), cities[card % 5],
               DemoCardFolder(options.DocsFolder, card)});
  cards.Flush();
}

void FillDocuments(TAceConnection& db, const TDemoInstallOptions& options) {
  TDemoBatchInsert docs(db, "Docs",
                        {"RECID", "CARD_ID", "DOC_DATE", "DOCUMENT_NAME_SHORT", "DOCUMENT_DESC",
                         "CREATE_DATE", "CREATE_USERNAME", "ISPUBLIC", "RECVER", "DOCUMENT_NAME"});
  const char* users[] = {"admin", "dana", "yossi", "MICHAL", "ron"};
  char recId[32];
  char date[32];
  for (int64_t doc = 1; doc <= options.Documents; ++doc) {
    auto path = DemoDocumentPath(options.DocsFolder, doc, options.Cards);
    std::snprintf(recId, sizeof recId, "D%09lld", static_cast<long long>(doc));
    std::snprintf(date, sizeof date, "20%02d-%02d-%02d 10:%02d:00", static_cast<int>(15 + doc % 10),
                  static_cast<int>(1 + doc % 12), static_cast<int>(1 + doc % 28),
                  static_cast<int>(doc % 60));
    docs.Add({recId, DemoCardId(options.Cards > 0 ? 1 + doc % options.Cards : 0), date,
              path ? DemoShortName(*path) : std::string(), "Document " + std::to_string(doc), date,
              users[doc % 5], doc % 3 ? "Y" : "N", "1", path});
  }
  docs.Flush();
}

// Fills the CRM tables of db with the demo contents, in one transaction.
void FillDatabase(TAceConnection& db, const TDemoInstallOptions& options) {
  db.BeginTransaction();
  try {
    FillDemoPrefs(db, options);
    FillDemoLanguages(db);
    db.ExecSQL(
        "INSERT INTO valtblacoin (RECID, VALUE, EVALUE) VALUES (1, 'ש\"ח', 'New Israeli "
        "Shekel'), (2, '$', 'US Dollar'), (3, '€', 'Euro')",
        {});
    FillCards(db, options);
    FillDocuments(db, options);
    db.Commit();
  } catch (...) {
    db.Rollback();
    throw;
  }
}

void FillLocalDatabase(const fs::path& dbFolder, const TDemoInstallOptions& options) {
  CreateSqliteDatabase(dbFolder.string(), CrmSchemaSql());
  auto db = CreateSqliteAceDriver()->Connect(dbFolder.string(), TAdsServerType::stADS_LOCAL);
  FillDatabase(*db, options);
}

void FillRemoteDatabase(const TRemoteServerSettings& server, const TDemoInstallOptions& options) {
  auto db = ConnectPg(RemoteConninfo(server));
  // The rows go in as string literals (TDemoBatchInsert): backslashes are themselves.
  db->ExecSQL("SET standard_conforming_strings = on", {});
  FillDatabase(*db, options);
}

}  // namespace

bool ParseDemoCount(const std::string& text, int64_t& value) {
  if (text.empty() || text.size() > 9) return false;  // 100000000 has nine digits
  int64_t count = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    count = count * 10 + (c - '0');
  }
  if (count > MaxDemoCount) return false;
  value = count;
  return true;
}

int RunDemoInstall(const TDemoInstallOptions& options, std::ostream& out, std::ostream& err) {
  if (options.Root.empty()) {
    err << "VrlDemoInstall: no root folder given (--root DIR)\n";
    return 1;
  }
  fs::path root = fs::absolute(options.Root);
  std::error_code error;
  if (fs::exists(root, error) && (!fs::is_directory(root) || !fs::is_empty(root))) {
    err << "VrlDemoInstall: " << root.string()
        << " already exists and is not an empty folder; a demo installation is laid out only "
           "into a new or empty folder. Nothing was changed.\n";
    return 1;
  }
  try {
    // The remote database is checked (and its tables made) before any folder, so a refused
    // database leaves nothing behind.
    std::optional<TRemoteServerSettings> remote;
    if (!options.Remote.empty()) remote = CreateRemoteCrmSchema(options.Remote);
    for (const char* folder : kFolders) fs::create_directories(root / folder);
    fs::path docs = root.parent_path() / "Docs";
    fs::create_directories(docs);
    LayOutUtils(options, root / "Utils", remote, out);
    if (remote) {
      WriteFile(root / "DBSys" / RemoteServerMarkerFile, "");
      FillRemoteDatabase(*remote, options);
    } else {
      FillLocalDatabase(root / "DB", options);
    }
    out << "Laid out " << root.string() << ": " << options.Documents << " documents and "
        << options.Cards << " cards under " << options.DocsFolder << " in "
        << (remote ? "the database " + remote->Database + " on the remote server " + remote->Host
                   : "DB/" + std::string(SqliteDatabaseFileName))
        << "; documents folder " << docs.string() << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << "VrlDemoInstall: " << e.what() << "\n";
    return 1;
  }
}
