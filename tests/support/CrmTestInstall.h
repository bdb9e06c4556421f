// An installation tree in a temporary folder with a CRM database made from the schema file, and
// the platform holder filled with the fake user interface, the fake system (the program sits in
// <root>/Utils beside the engine client files) and the programs' engine driver (SQLite for the
// local server), with the event log started. Header-only: the test programs that use it link
// vrl_db and vrl_engine.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/FormatSettings.h"
#include "db/CrmSchema.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/EngineClientCheck.h"
#include "db/SysLock.h"
#include "host/FormatSetup.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/engine/driver/EngineDriver.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/FakeUi.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/TempDir.h"

class TCrmTestInstall {
 public:
  explicit TCrmTestInstall(bool withDatabase = true,
                           const std::string& programName = "VrlChangeDocsPath") {
    root_ = (temp_.Path() / "CRM").string();
    for (const char* folder : {"Utils", "DB", "DBSys", "Logs"})
      std::filesystem::create_directories(Path(folder));
    if (withDatabase) CreateSqliteDatabase(DbFolder(), CrmSchemaSql());
    for (const char* file : EngineClientFiles) std::ofstream(Path("Utils/") + file) << "engine";
    auto ui = std::make_unique<TFakeUi>();
    auto system = std::make_unique<TFakeSystem>();
    Ui = ui.get();
    System = system.get();
    System->ProgramFile = System->ModulePath = Path("Utils/" + programName);
    Platform().SetUi(std::move(ui));
    Platform().SetSystem(std::move(system));
    Platform().SetEngine(CreateEngineDriver());
    FreeDBConnectionDM();
    LoadSystemFolderDefaults();
    InitFormatSettings();
    StartAppEventLog();
  }
  ~TCrmTestInstall() { ResetProgramUnits(); }

  // A path inside the installation root.
  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
  std::string Root() const { return root_; }
  std::string DbFolder() const { return Path("DB"); }
  std::string DbFile() const { return Path("DB/Varnel.sqlite"); }

  // A connection of its own, for arranging and checking data beside the code under test.
  std::unique_ptr<TAceConnection> Open() const {
    return CreateSqliteAceDriver()->Connect(DbFolder(), TAdsServerType::stADS_LOCAL);
  }
  // Every value of a column in rowid order; NULL reads "<NULL>".
  std::vector<std::string> Column(const std::string& table, const std::string& column) const {
    return ColumnIn(DbFolder(), table, column);
  }
  // The same for the database in any folder.
  static std::vector<std::string> ColumnIn(const std::string& dbFolder, const std::string& table,
                                           const std::string& column) {
    auto db = CreateSqliteAceDriver()->Connect(dbFolder, TAdsServerType::stADS_LOCAL);
    auto rows = db->OpenQuery("SELECT " + column + " FROM " + table + " ORDER BY rowid", {});
    std::vector<std::string> values;
    for (; !rows->Eof(); rows->Next())
      values.push_back(rows->FieldIsNull(0) ? "<NULL>" : rows->FieldText(0));
    return values;
  }
  // Every column of every record of the tables in the folder's database, in rowid order, each
  // value quoted and NULL told apart from empty text: equal texts mean equal contents.
  static std::string RowsIn(const std::string& dbFolder, const std::vector<std::string>& tables) {
    auto db = CreateSqliteAceDriver()->Connect(dbFolder, TAdsServerType::stADS_LOCAL);
    std::string text;
    for (const std::string& table : tables) {
      auto rows = db->OpenQuery("SELECT * FROM " + table + " ORDER BY rowid", {});
      for (; !rows->Eof(); rows->Next()) {
        for (size_t f = 0; f < rows->FieldNames().size(); ++f)
          text += (rows->FieldIsNull(f) ? "<NULL>" : "'" + rows->FieldText(f) + "'") + "|";
        text += "\n";
      }
    }
    return text;
  }
  // The program's user log as written so far.
  std::string LogText() const {
    std::ifstream file(Path("Logs/UserLog_VrlChangeDocsPath.TXT"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  static std::string ReadBytes(const std::string& file) {
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
  }

  TFakeUi* Ui;
  TFakeSystem* System;

 private:
  TTempDir temp_;
  std::string root_;
};
