// The window program on the installation VRL_INSTALLATION names, wherever the program lies.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/window/ChangePathForDocs_Unit.h"
#include "app/window/WindowEntry.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/QtTestApplication.h"

namespace fs = std::filesystem;

namespace {

// Every path under folder, relative to it, in order.
std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(entry.path().lexically_relative(folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// The test installation with the product's ini file, and the program in a folder of its own
// elsewhere (no engine client files there, no installation around it).
class NamedInstallationWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApplication();
    std::ofstream(install_.Path("Utils/VarnelCRM.ini")) << "[DATABASE]\n";
    install_.Pref("-1", "DOC_MAIN_FOLDER", "A", "C:\\Named\\Docs");
    fs::create_directories(elsewhere_.Path() / "bin");
    install_.System->ProgramFile = install_.System->ModulePath =
        (elsewhere_.Path() / "bin" / "VrlChangeDocsPath").string();
  }
  // Runs the window program; what its window showed once created.
  struct TWindowRun {
    int Code = -1;
    bool Created = false;
    bool StartedUp = false;
    std::string OldPath;
  };
  TWindowRun Run() {
    TWindowRun run;
    run.Code = RunWindowProgram([&](TChangePathForDocsFrm& window) {
      run.Created = true;
      run.StartedUp = window.StartedUp();
      run.OldPath = window.Edit1()->text().toStdString();
      return 0;
    });
    return run;
  }

  TAppTestInstallation install_{"VrlChangeDocsPath"};
  TTempDir elsewhere_;
};

TEST_F(NamedInstallationWindowTest, TheVariableOpensTheWindowOnThatInstallation) {
  install_.System->Environment["VRL_INSTALLATION"] = install_.Root() + "/";
  const TWindowRun run = Run();
  EXPECT_EQ(run.Code, 0);
  EXPECT_TRUE(run.StartedUp);
  EXPECT_EQ(run.OldPath, "C:\\Named\\Docs");
  EXPECT_TRUE(install_.Ui->Messages.empty());
  EXPECT_TRUE(install_.Ui->Errors.empty());
  EXPECT_EQ(Listing(elsewhere_.Path()), std::vector<std::string>{"bin"});
}

TEST_F(NamedInstallationWindowTest, WithoutTheVariableTheProgramsOwnFolderIsUsed) {
  const TWindowRun run = Run();
  EXPECT_FALSE(run.StartedUp);
  ASSERT_EQ(install_.Ui->Messages.size(), 1u);
  EXPECT_NE(install_.Ui->Messages[0].find("Missing Files:"), std::string::npos);
}

TEST_F(NamedInstallationWindowTest, AVariableNamingNoInstallationIsRefusedInAnErrorBox) {
  fs::remove(install_.Path("Utils/VarnelCRM.ini"));
  install_.System->Environment["VRL_INSTALLATION"] = install_.Root();
  const std::vector<std::string> before = Listing(install_.Root());
  const TWindowRun run = Run();
  EXPECT_EQ(run.Code, 2);
  EXPECT_FALSE(run.Created);
  ASSERT_EQ(install_.Ui->Errors.size(), 1u);
  EXPECT_EQ(
      install_.Ui->Errors[0],
      Format(LoadStr(sInstallationFromVariable),
             {Format(LoadStr(sInstallationIncomplete), {install_.Root(), "Utils/VarnelCRM.ini"}),
              "VRL_INSTALLATION"}));
  EXPECT_TRUE(install_.Ui->Messages.empty());
  EXPECT_EQ(Listing(install_.Root()), before);
  EXPECT_EQ(Listing(elsewhere_.Path()), std::vector<std::string>{"bin"});
}

}  // namespace
