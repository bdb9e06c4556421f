// The installation tree of the log tests: the program in <root>/Utils, fake user interface and
// system services (fixed clock, ticks, user and computer), folders and formats loaded.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "common/FormatSettings.h"
#include "host/FormatSetup.h"
#include "host/SysFolders.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TempDir.h"

struct TLogTestTree {
  void Lay() {
    root = (temp.Path() / "CRM").string();
    std::filesystem::create_directories(root + "/Utils");
    auto ui = std::make_unique<TFakeUi>();
    auto sys = std::make_unique<TFakeSystem>();
    Ui = ui.get();
    Sys = sys.get();
    Sys->ProgramFile = Sys->ModulePath = root + "/Utils/VrlChangeDocsPath";
    Platform().SetUi(std::move(ui));
    Platform().SetSystem(std::move(sys));
    LoadSystemFolderDefaults();
    InitFormatSettings();
  }

  TTempDir temp;
  std::string root;
  TFakeUi* Ui = nullptr;
  TFakeSystem* Sys = nullptr;
};
