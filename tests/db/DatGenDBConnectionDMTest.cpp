#include "db/DatGenDBConnectionDM.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/StrTable.h"
#include "db/RemoteControlNotice.h"
#include "platform/engine/driver/EngineDriver.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/EngineTestDatabase.h"

namespace {

// An engine that refuses every connection with the given code.
class TRefusingEngine : public TAceDriver {
 public:
  explicit TRefusingEngine(uint32_t code) : code_(code) {}
  std::unique_ptr<TAceConnection> Connect(const std::string&, TAdsServerType) override {
    throw EADSDatabaseError("refused by the server", code_);
  }
  TAceVersion Version() override { return {11, 10, ' '}; }

 private:
  uint32_t code_;
};

}  // namespace

TEST(DBConnection, OpensTheDatabaseFolderQuietlyAndLogsSuccess) {
  TCrmTestInstall install;
  EXPECT_EQ(DBConnectionDM(), nullptr);
  EXPECT_TRUE(MainConnectionIsOpen());
  ASSERT_NE(DBConnectionDM(), nullptr);
  EXPECT_EQ(DBConnectionDM()->DBConnection.ConnectPath, install.DbFolder());
  EXPECT_TRUE(install.Ui->Messages.empty());
  EXPECT_NE(
      install.LogText().find("Proc_Name=DatGenDBConnectionDM.SetConnectionParams-Gen\r\nY\r\n"),
      std::string::npos);
  EXPECT_EQ(install.LogText().find("-Err"), std::string::npos);
  EXPECT_TRUE(OpenMainConnection());
}

TEST(DBConnection, LocalFailureShowsTheFolderAndTheEngineMessage) {
  TCrmTestInstall install(false);
  std::filesystem::remove_all(install.DbFolder());
  EXPECT_FALSE(MainConnectionIsOpen());
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  std::string expected = LoadStr(sDatabaseAccessHalted) + "\n\r" + install.DbFolder() + "\n\r\n\r" +
                         "Database folder not found: " + install.DbFolder();
  EXPECT_EQ(install.Ui->Messages[0], expected);
  EXPECT_NE(
      install.LogText().find("Proc_Name=DatGenDBConnectionDM.SetConnectionParams-Err\r\nN\r\n"),
      std::string::npos);
  EXPECT_NE(
      install.LogText().find("Proc_Name=DatGenDBConnectionDM.SetConnectionParams-Gen\r\nN\r\n"),
      std::string::npos);

  EXPECT_FALSE(OpenMainConnection());  // the retry only logs
  EXPECT_EQ(install.Ui->Messages.size(), 1u);
  EXPECT_NE(install.LogText().find("Proc_Name=.OpenMainConnection\r\n"), std::string::npos);
}

TEST(DBConnection, RemoteFailurePutsTheFolderInParentheses) {
  TCrmTestInstall install;
  std::ofstream(install.Path("DBSys/VarnelServer.sr1")) << "";
  LoadSystemFolderDefaults();
  EXPECT_FALSE(MainConnectionIsOpen());
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  const std::string& shown = install.Ui->Messages[0];
  std::string head = LoadStr(sServerAccessHalted) + "\n\r(" + install.DbFolder() + ")\n\r\n\r";
  EXPECT_EQ(shown.substr(0, head.size()), head);
  EXPECT_NE(shown.find("remote"), std::string::npos);
  EXPECT_EQ(DBConnectionDM()->DBConnection.AdsServerTypes, TAdsServerType::stADS_REMOTE);
}

TEST(DBConnection, EngineCodesChooseTheirTextsAndRemoteControlGetsTheNotice) {
  struct TCase {
    uint32_t code;
    std::string text;  // empty: the notice instead of a message
  };
  for (const TCase& c : {TCase{6633, LoadStr(sOldSqlVersion6633)},
                         TCase{6316, LoadStr(sOldSqlVersion6316)}, TCase{5185, ""}}) {
    TCrmTestInstall install;
    Platform().SetEngine(std::make_unique<TRefusingEngine>(c.code));
    EXPECT_FALSE(MainConnectionIsOpen());
    if (c.text.empty()) {
      EXPECT_TRUE(install.Ui->Messages.empty());
      EXPECT_EQ(install.Ui->ShownForms, std::vector<std::string>{RemoteControlNoticeForm});
      EXPECT_NE(install.LogText().find(LoadStr(sRemoteControlStopped).substr(0, 17)),
                std::string::npos);
    } else {
      EXPECT_EQ(install.Ui->Messages, std::vector<std::string>{c.text}) << c.code;
    }
  }
}

TEST(DBConnection, InsideALibraryNothingIsShownButTheFailureIsLogged) {
  TCrmTestInstall install(false, "libVrlTool.so");
  EXPECT_FALSE(MainConnectionIsOpen());
  EXPECT_TRUE(install.Ui->Messages.empty());
  EXPECT_TRUE(install.Ui->ShownForms.empty());
  std::string logged;
  for (const auto& file : std::filesystem::directory_iterator(install.Path("Logs")))
    logged += TCrmTestInstall::ReadBytes(file.path().string());
  EXPECT_NE(logged.find("Proc_Name=DatGenDBConnectionDM.SetConnectionParams-Err\r\nN\r\n"),
            std::string::npos);
}

TEST(DBConnection, ConnectionInfoBeforeAndAfterConnecting) {
  TCrmTestInstall install;
  std::string program = install.Path("Utils/VrlChangeDocsPath");
  EXPECT_EQ(GetConnectionInfo(), "ConnInfo: 0 " + program + " Con is Nil");
  install.System->ThreadId = 4321;
  ASSERT_TRUE(MainConnectionIsOpen());
  EXPECT_EQ(GetConnectionInfo(), "ConnInfo: 0 " + program + " Local 1 " + install.DbFolder() +
                                     " DBConnection 0 0 4321\r\n\r\nNO ADS " +
                                     install.Path("Utils/ads.ini"));
  std::ofstream(install.Path("Utils/ads.ini")) << "[SETTINGS]\nADS_SERVER_TYPE=1\n";
  std::string info = GetConnectionInfo();
  std::string tail = "\r\n\r\n[SETTINGS]\r\nADS_SERVER_TYPE=1";
  EXPECT_EQ(info.substr(info.size() - tail.size()), tail);
  EXPECT_NE(info.find("\r\n\r\n" + install.Path("Utils/ads.ini") + " "), std::string::npos);
}

TEST(DBConnection, ARemoteServerFailureShowsTheServersMessageAndAReachableOneConnects) {
  TCrmTestInstall install(false);
  TPgTestDatabase database;
  std::ofstream(install.Path("DBSys/VarnelServer.sr1")) << "";
  LoadSystemFolderDefaults();
  Platform().SetEngine(CreateEngineDriver());
  const std::string missing = PgConninfoWithDatabase(database.Conninfo(), "vrl_no_such_database");
  std::ofstream(install.Path("Utils/ads.ini")) << RemoteAdsIniSection(missing);
  EXPECT_FALSE(MainConnectionIsOpen());
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  const std::string& shown = install.Ui->Messages[0];
  const std::string head =
      LoadStr(sServerAccessHalted) + "\n\r(" + install.DbFolder() + ")\n\r\n\r";
  EXPECT_EQ(shown.substr(0, head.size()), head);
  EXPECT_NE(shown.find("database \"vrl_no_such_database\" does not exist"), std::string::npos)
      << shown;
  EXPECT_NE(install.LogText().find("vrl_no_such_database"), std::string::npos);

  std::ofstream(install.Path("Utils/ads.ini")) << RemoteAdsIniSection(database.Conninfo());
  FreeDBConnectionDM();
  EXPECT_TRUE(MainConnectionIsOpen());
  EXPECT_EQ(DBConnectionDM()->DBConnection.ConnectionType(), "Remote");
}
