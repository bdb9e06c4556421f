// The checks the window's creation runs before the window may be shown.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <filesystem>

#include "app/ChangePathForDocs_Unit.h"
#include "common/StrTable.h"
#include "common/SysFolders.h"
#include "db/SysLock.h"
#include "tests/app/AppTestInstallation.h"
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
  EXPECT_EQ(install.Ui->Messages[0].rfind(LoadStr(65190), 0), 0u);
  const std::string log = install.LogText();
  const size_t halt = log.find("Proc_Name=VrlHlt-1\r\n");
  ASSERT_NE(halt, std::string::npos);
  EXPECT_LT(log.find("Proc_Name=.OpenMainConnection"), halt);  // after the second attempt
  EXPECT_FALSE(SysLockIsOpen());
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
