// The checks the window's creation runs before the window may be shown.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <filesystem>
#include <fstream>

#include "app/units/ProgramUnits.h"
#include "app/units/StartupSequence.h"
#include "app/window/ChangePathForDocs_Unit.h"
#include "common/StrTable.h"
#include "db/SysLock.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "log/ExceptionManager.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/QtTestApplication.h"

namespace {

class StartupSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override { QtTestApplication(); }
  TAppTestInstallation install{"VrlChangeDocsPath"};
};

}  // namespace

TEST_F(StartupSequenceTest, AReadyInstallationOpensTheWindowWithTheLockTableHeld) {
  install.Ui->SetCursor(TCursorKind::crHourGlass);
  TChangePathForDocsFrm window;
  EXPECT_TRUE(window.StartedUp());
  EXPECT_TRUE(SysLockIsOpen());
  EXPECT_TRUE(install.Ui->Messages.empty());
  EXPECT_EQ(install.Ui->Cursor(), TCursorKind::crDefault);
  EXPECT_EQ(install.LogText().find("VrlHlt"), std::string::npos);
}

TEST_F(StartupSequenceTest, AMissingEngineClientFileIsShownLoggedAndStopsBeforeTheDatabase) {
  std::filesystem::remove(install.Path("Utils/Ansi.chr"));
  TChangePathForDocsFrm window;
  EXPECT_FALSE(window.StartedUp());
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  const std::string& shown = install.Ui->Messages[0];
  EXPECT_EQ(shown.rfind("VrlChangeDocsPath operation stopped.", 0), 0u);
  EXPECT_NE(shown.find("Missing Files:\r\nAnsi.chr\r\n\r\n("), std::string::npos);
  const std::string log = install.LogText();
  EXPECT_NE(log.find("Sender_Class=TChangePathForDocsFrm\r\nSender_Name=ChangePathForDocsFrm\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("Proc_Name=VrlHlt-0\r\n" + shown + "\r\n"), std::string::npos);
  EXPECT_EQ(log.find("SetConnectionParams"), std::string::npos);  // never got that far
  EXPECT_FALSE(SysLockIsOpen());
}

TEST_F(StartupSequenceTest, AnUnreachableDatabaseShowsOnlyTheConnectionsMessage) {
  std::filesystem::remove_all(install.DbFolder());
  TChangePathForDocsFrm window;
  EXPECT_FALSE(window.StartedUp());
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  EXPECT_EQ(install.Ui->Messages[0].rfind(LoadStr(sDatabaseAccessHalted), 0), 0u);
  const std::string log = install.LogText();
  const size_t halt = log.find("Proc_Name=VrlHlt-1\r\n");
  ASSERT_NE(halt, std::string::npos);
  EXPECT_LT(log.find("Proc_Name=.OpenMainConnection"), halt);  // after the second attempt
  EXPECT_FALSE(SysLockIsOpen());
}

TEST_F(StartupSequenceTest, AnUnreachableRemoteServerShowsItsMessageWithTheFolderAndHalts) {
  std::ofstream(install.Path("DBSys/VarnelServer.sr1")) << "";
  LoadSystemFolderDefaults();
  const std::string noServer = install.Path("NoServer");  // no server listens there
  std::filesystem::create_directories(noServer);
  std::ofstream(install.Path("Utils/ads.ini"))
      << "[VarnelRemote]\nHost=" << noServer << "\nPort=54329\nDatabase=crm\nUser=crm\n";
  TChangePathForDocsFrm window;
  EXPECT_FALSE(window.StartedUp());
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  const std::string& shown = install.Ui->Messages[0];
  EXPECT_EQ(shown.rfind(LoadStr(sServerAccessHalted) + "\n\r(" + install.DbFolder() + ")", 0), 0u)
      << shown;
  EXPECT_NE(shown.find(noServer), std::string::npos) << shown;  // libpq's own words on the socket
  EXPECT_NE(install.LogText().find("Proc_Name=VrlHlt-1\r\n"), std::string::npos);
  EXPECT_FALSE(SysLockIsOpen());
}

TEST_F(StartupSequenceTest, CreationHandsEurekaLog1ToTheManagerRightAfterTheLogStarts) {
  std::ofstream(install.Path("DBSys/UserLog_VarnelSystem2.TXT")) << "";
  std::filesystem::remove(install.Path("Utils/Ansi.chr"));
  TChangePathForDocsFrm window;
  EXPECT_EQ(ActiveEurekaLog(), &window.EurekaLog1);
  EXPECT_TRUE(window.EurekaLog1.OnExceptionNotify);
  EXPECT_EQ(HEMgr->OwnCaptureComponent, nullptr);
  // Step 2 comes before the engine client check of step 3.
  const std::string log = install.LogText();
  const size_t init = log.find("Proc_Name=***** InitEurekaLog ***** \r\n2\r\n");
  ASSERT_NE(init, std::string::npos) << log;
  EXPECT_LT(init, log.find("Proc_Name=VrlHlt-0"));
}

TEST_F(StartupSequenceTest, ProgramUnitsCreateTheManagerAndFreeItAtTheEnd) {
  FreeHEMgr();
  {
    TProgramUnits units;
    ASSERT_NE(HEMgr, nullptr);
    StartAppEventLog();
    InitEurekaLog(nullptr);  // the console program has no component of its own
    EXPECT_EQ(ActiveEurekaLog(), HEMgr->OwnCaptureComponent.get());
  }
  EXPECT_EQ(HEMgr, nullptr);
  EXPECT_EQ(EventLog(), nullptr);
  EXPECT_EQ(ActiveEurekaLog(), nullptr);  // its own component went with it
}

TEST_F(StartupSequenceTest, TheOldPathIsTheDocumentsFolderOfTheAllUsersPreferences) {
  install.Pref("-1", "DOC_MAIN_FOLDER", "A", "\\\\fs01\\Varnel\\Docs");
  install.Pref("yossi", "DOC_MAIN_FOLDER", "A", "D:\\Yossi");
  install.Ui->SetCursor(TCursorKind::crHourGlass);
  TChangePathForDocsFrm window;
  ASSERT_TRUE(window.StartedUp());
  EXPECT_EQ(window.Edit1()->text().toStdString(), "\\\\fs01\\Varnel\\Docs");
  EXPECT_EQ(window.DocPref.MainFolder, "\\\\fs01\\Varnel\\Docs");
  EXPECT_EQ(install.Ui->Cursor(), TCursorKind::crDefault);
}

TEST_F(StartupSequenceTest, WithoutADocumentsFolderRowTheInstallationsFolderIsOffered) {
  install.Pref("-1", "DOC_TEMPL_FOLDER", "A", "C:\\Templates");
  TChangePathForDocsFrm window;
  ASSERT_TRUE(window.StartedUp());
  EXPECT_EQ(window.Edit1()->text().toStdString(), DocsFolder());
}

TEST_F(StartupSequenceTest, AFailedPreferenceLoadStillOpensTheWindow) {
  install.Pref("-1", "DOC_DOC_NO_KIND", "I", "12a");
  install.Pref("-2", "DOC_MAIN_FOLDER", "A", "C:\\Never read");
  TChangePathForDocsFrm window;
  EXPECT_TRUE(window.StartedUp());
  EXPECT_EQ(window.Edit1()->text().toStdString(), "");
  EXPECT_NE(install.LogText().find("Problem With Field - DOC_DOC_NO_KIND"), std::string::npos);
  EXPECT_TRUE(install.Ui->Messages.empty());
}
