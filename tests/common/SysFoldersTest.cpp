#include "host/SysFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/FileUtils.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// An installation tree <tmp>/CRM/Utils/VrlChangeDocsPath with an optional VarnelCRM.ini.
class SysFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = (tmp_.Path() / "CRM").string();
    utils_ = root_ + "/Utils/";
    fs::create_directories(utils_);
    auto system = std::make_unique<TFakeSystem>();
    system->ModulePath = system->ProgramFile = utils_ + "VrlChangeDocsPath";
    Platform().SetSystem(std::move(system));
  }
  void TearDown() override { ResetProgramUnits(); }

  void WriteIni(const std::string& text) {
    std::ofstream(utils_ + "VarnelCRM.ini", std::ios::binary) << text;
  }

  TTempDir tmp_;
  std::string root_, utils_;
};

}  // namespace

TEST_F(SysFoldersTest, NoIniGivesTheDbFolderBesideTheProgramFolder) {
  LoadSystemFolderDefaults();
  EXPECT_EQ(DatabaseFolder(), root_ + "/DB");
  EXPECT_EQ(DBSysFolder(), root_ + "/DBSys/");
  EXPECT_EQ(ServerFolder(), root_ + "/Server/");
  EXPECT_EQ(UtilsFolder(), root_ + "/Utils/");
  EXPECT_EQ(LastVerFolder(), root_ + "/LastVer/");
  EXPECT_EQ(UpgradeClientFolder(), root_ + "/Utils/UpgradeClient/");
  EXPECT_EQ(DocsFolder(), tmp_.Path().string() + "/Docs/");
  EXPECT_FALSE(ProgramIniExists());
  const FullDefaultsRecType& d = FullDefaults();
  EXPECT_EQ(d.General.InstallFolder, utils_);
  EXPECT_EQ(d.General.LogFolder, utils_ + "LOG/");
  EXPECT_EQ(d.General.LogFileName, "VARNEL.LOG");
  EXPECT_EQ(d.Database.NetControlFolder, "\\PROGRAM FILES\\VARNEL\\NETDIR\\");
  EXPECT_EQ(d.Dial.Dial2, "NO");
  EXPECT_EQ(d.MnAcc.ToMnAccTempFolder, "\\PROGRAM FILES\\VARNEL\\TOMNACCTEMP\\");
}

TEST_F(SysFoldersTest, IniPathWithOrWithoutTrailingSeparatorGivesTheSameRoot) {
  for (const std::string db : {"/srv/Data/CRM/DB/", "/srv/Data/CRM/DB"}) {
    WriteIni("[DATABASE]\r\nPath=" + db + "\r\n");
    LoadSystemFolderDefaults();
    EXPECT_EQ(DatabaseFolder(), db);  // exactly as configured
    EXPECT_EQ(DBSysFolder(), "/srv/Data/CRM/DBSys/");
    EXPECT_EQ(DocsFolder(), "/srv/Data/Docs/");
    EXPECT_TRUE(ProgramIniExists());
  }
}

TEST_F(SysFoldersTest, IniIsReadWithWindowsRules) {
  WriteIni(
      "; settings\r\n[General]\r\nPath=/wrong\r\n\r\n[database]\r\n; Path=/commented\r\n"
      "  PATH = \"/srv/crm/DB\" \r\npath=/second\r\n");
  LoadSystemFolderDefaults();
  EXPECT_EQ(DatabaseFolder(), "/srv/crm/DB");
}

TEST_F(SysFoldersTest, IniLinesOfAnyLengthAreReadWhole) {
  // A deep database folder: 1,000 characters, far beyond the library's usual 200-byte lines,
  // and a key after it that must still be found in its section.
  std::string db = "/srv";
  while (db.size() < 997) db += "/" + std::string(std::min<size_t>(40, 996 - db.size()), 'd');
  db += "/DB";
  ASSERT_EQ(db.size(), 1000u);
  WriteIni("[Other]\r\nNote=" + std::string(5000, 'n') + "\r\n[DATABASE]\r\nPath=" + db + "\r\n");
  LoadSystemFolderDefaults();
  EXPECT_EQ(DatabaseFolder(), db);
  EXPECT_EQ(DBSysFolder(), db.substr(0, db.size() - 2) + "DBSys/");
}

TEST_F(SysFoldersTest, IniWithoutTheKeyGivesTheDefault) {
  WriteIni("[DATABASE]\nOther=1\n[Other]\nPath=/x\n");
  LoadSystemFolderDefaults();
  EXPECT_EQ(DatabaseFolder(), root_ + "/DB");
}

TEST_F(SysFoldersTest, LogsFolderIsCreatedOnFirstUseEvenWithoutItsParent) {
  WriteIni("[DATABASE]\nPath=" + root_ + "/Missing/Deeper/DB\n");
  LoadSystemFolderDefaults();
  const std::string logs = LogsFolder();
  EXPECT_EQ(logs, root_ + "/Missing/Deeper/Logs/");
  EXPECT_TRUE(DirectoryExists(logs));
  fs::remove(logs);
  EXPECT_EQ(LogsFolder(), logs);  // cached: not created again
  EXPECT_FALSE(DirectoryExists(logs));
  EXPECT_TRUE(DirectoryExists(TempFolder()));
  EXPECT_TRUE(DirectoryExists(TemplatesFolder()));
}

TEST_F(SysFoldersTest, RemoteServerMarkerIsCachedForTheRun) {
  LoadSystemFolderDefaults();
  fs::create_directories(DBSysFolder());
  std::ofstream(DBSysFolder() + "VarnelServer.sr1") << "";
  EXPECT_TRUE(IsRemoteServerMode());
  fs::remove(DBSysFolder() + "VarnelServer.sr1");
  EXPECT_TRUE(IsRemoteServerMode());
  LoadSystemFolderDefaults();  // a new run
  EXPECT_FALSE(IsRemoteServerMode());
}

TEST_F(SysFoldersTest, ProgramIdentityAndLibraryNames) {
  LoadSystemFolderDefaults();
  EXPECT_EQ(ProgramFileName(), "VrlChangeDocsPath");
  EXPECT_EQ(ProgramModuleFolder(), utils_);
  EXPECT_FALSE(IsLibraryModule());
  EXPECT_EQ(ProgramBasedName("<", ">"), "<VrlChangeDocsPath>");

  auto system = std::make_unique<TFakeSystem>();
  system->ModulePath = utils_ + "VarnelCRM.so";
  system->ProgramFile = "/usr/bin/host.bin";
  Platform().SetSystem(std::move(system));
  LoadSystemFolderDefaults();
  EXPECT_TRUE(IsLibraryModule());
  EXPECT_EQ(ProgramBasedName("", ""), "VarnelCRM_host");
}
