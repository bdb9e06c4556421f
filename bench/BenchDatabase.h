// A CRM database for one benchmark in a temporary folder, with the platform's POSIX system and
// SQLite engine, and the main connection's module that the program's data sets find by name
// ("DBConnectionDM.DBConnection"). Everything is removed again at the end.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/Forms.h"
#include "db/CrmSchema.h"
#include "platform/Platform.h"
#include "platform/engine/AdsComponents.h"
#include "platform/engine/driver/EngineDriver.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "platform/system/PosixSystemServices.h"

struct TBenchConnectionDM : TDataModule {
  TBenchConnectionDM() : TDataModule(nullptr, "DBConnectionDM") {}
  std::string ClassName() const override { return "TDBConnectionDM"; }
  TAdsConnection DBConnection{this, "DBConnection"};
};

class TBenchDatabase {
 public:
  explicit TBenchDatabase(const std::string& name)
      : folder_(std::filesystem::temp_directory_path() /
                ("vrl_" + name + "_bench_" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_);
    Platform().SetSystem(std::make_unique<TPosixSystemServices>());
    Platform().SetEngine(CreateEngineDriver());
    CreateSqliteDatabase(folder_.string(), CrmSchemaSql());
  }
  ~TBenchDatabase() {
    module_.reset();
    Platform().Reset();
    std::filesystem::remove_all(folder_);
  }

  // A connection of its own, for filling the tables.
  std::unique_ptr<TAceConnection> Open() const {
    return CreateSqliteAceDriver()->Connect(folder_.string(), TAdsServerType::stADS_LOCAL);
  }
  // Creates the main connection's module on this database; the code under test connects it.
  void CreateMainConnection() {
    module_ = std::make_unique<TBenchConnectionDM>();
    module_->DBConnection.ConnectPath = folder_.string();
  }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<TBenchConnectionDM> module_;
};
