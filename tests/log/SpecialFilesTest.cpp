#include "log/SpecialFiles.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/FileUtils.h"
#include "host/SysFolders.h"
#include "log/LogHook.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/TempDir.h"

namespace {

class SpecialFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto system = std::make_unique<TFakeSystem>();
    system->ModulePath = system->ProgramFile = (tmp_.Path() / "CRM/Utils/Prog").string();
    Platform().SetSystem(std::move(system));
    LoadSystemFolderDefaults();
  }
  void TearDown() override { ResetProgramUnits(); }

  TTempDir tmp_;
};

std::vector<std::pair<std::string, std::string>> hooked;
void RecordHook(const std::string& name, const std::string& text) {
  hooked.emplace_back(name, text);
}
void FailingHook(const std::string&, const std::string&) {
  throw std::runtime_error("log file locked");
}

}  // namespace

TEST_F(SpecialFilesTest, NamesAreFoundWithoutRegardToCase) {
  const std::string root = (tmp_.Path() / "CRM").string();
  EXPECT_EQ(GetSpecialFilePath("vrldbenglog.TXT"), root + "/DBSys/vrldbenglog.TXT");
  EXPECT_EQ(GetSpecialFilePath("userlog_varnelsystem3.txt"),
            root + "/DBSys/userlog_varnelsystem3.txt");
  EXPECT_EQ(GetSpecialFilePath("VrlEmailConnectorLog.ini"),
            root + "/Server/VrlEmailConnectorLog.ini");
  EXPECT_EQ(GetSpecialFilePath("UserLog_IncomingEMails.TXT"),
            root + "/Logs/UserLog_IncomingEMails.TXT");
  EXPECT_TRUE(DirectoryExists(root + "/Logs"));  // the Logs folder is made on first use
}

TEST_F(SpecialFilesTest, PathsAndUnlistedNamesAreNotFound) {
  EXPECT_EQ(GetSpecialFilePath(DBSysFolder() + "VrlDbEngLog.txt"), "");
  EXPECT_EQ(GetSpecialFilePath("UserLog_VarnelSystem5.TXT"), "");
  EXPECT_EQ(GetSpecialFilePath(""), "");
}

TEST(SpecialFiles, LogFileAndBaseNames) {
  EXPECT_EQ(UserLogFileName("a:b\\c"), "UserLog_a:b\\c.TXT");
  EXPECT_EQ(FileBaseName("/opt/CRM/Utils/VrlChangeDocsPath.bin"), "VrlChangeDocsPath");
  EXPECT_EQ(FileBaseName("UpgradeClient"), "UpgradeClient");
}

TEST(LogHook, CallsTheHookOnlyWhenSetAndSwallowsFailures) {
  hooked.clear();
  LogHook = nullptr;
  CallLogHook("Lost", "before the log starts");
  EXPECT_TRUE(hooked.empty());
  LogHook = RecordHook;
  CallLogHook("Name", "Text");
  EXPECT_EQ(hooked, (std::vector<std::pair<std::string, std::string>>{{"Name", "Text"}}));
  LogHook = FailingHook;
  EXPECT_NO_THROW(CallLogHook("Name", "Text"));
  LogHook = nullptr;
}
