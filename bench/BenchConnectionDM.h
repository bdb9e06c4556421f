// The main connection's module for benchmarks, found by name as the program's data sets find
// "DBConnectionDM.DBConnection".
#pragma once

#include <string>

#include "common/Forms.h"
#include "platform/engine/AdsComponents.h"

struct TBenchConnectionDM : TDataModule {
  TBenchConnectionDM() : TDataModule(nullptr, "DBConnectionDM") {}
  std::string ClassName() const override { return "TDBConnectionDM"; }
  TAdsConnection DBConnection{this, "DBConnection"};
};
