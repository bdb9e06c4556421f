// The client upgrade check: what it collects per kind, the instruction file, the upgrade
// program's start and the ending of a client.
#include "startup/ClientUpgrade.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/BuildLanguage.h"
#include "common/FileUtils.h"
#include "common/IniFile.h"
#include "common/StrTable.h"
#include "host/SysFolders.h"
#include "startup/ProgramHalt.h"
#include "startup/StartUpGuard.h"
#include "startup/UpgradeFileLists.h"
#include "startup/UpgradeTrace.h"
#include "tests/startup/GuardTestInstall.h"

namespace fs = std::filesystem;

namespace {

const char* RunTagOfTheFakeClock = "08122026-140240";

TUpgradeSources Sources(const TGuardTestInstall& install, const std::string& folder) {
  return {install.Path(folder) + "/", install.Path("LastVer") + "/", "", false};
}

// Runs the check; true when it ended the process.
bool Ends(bool force, std::string& fileList, bool& result) {
  try {
    result = CheckClientUpgrade(true, true, force, fileList);
  } catch (const EProgramHalt& halt) {
    EXPECT_EQ(halt.ExitCode(), 0);
    return true;
  }
  return false;
}

std::vector<std::string> TraceNames() {
  std::vector<std::string> names;
  for (const auto& [name, text] : TGuardTestInstall::Traces) names.push_back(name);
  return names;
}

std::string Instruction(const std::string& file, const std::string& key) {
  std::string value = "<missing>";
  ReadIniValue(file, "APP", key, value);
  return value;
}

}  // namespace

TEST(ClientUpgrade, CollectsTheNewerFilesOfAKindOnceEachNewestFirst) {
  TGuardTestInstall install;
  // Kind 9 meets "VrlDbEng.so" twice in its list.
  WriteElfWithVersion(install.Path("LastVer/VrlDbEng.so"), {2, 0, 0, 0});
  WriteElfWithVersion(install.Path("LastVer/VrlOlSync.so"), {2, 0, 0, 0});
  install.Write("LastVer/Ansi.chr");
  std::string list;
  EXPECT_TRUE(CollectNewerFiles(9, list, Sources(install, "Utils")));
  EXPECT_EQ(list, "Ansi.chr*VrlDbEng.so*VrlOlSync.so*");
  // Kind 0, this tool, has nothing to compare.
  EXPECT_TRUE(UpgradeEntries(0, Sources(install, "Utils")).empty());
  std::string none;
  EXPECT_FALSE(CollectNewerFiles(0, none, Sources(install, "Utils")));
  EXPECT_EQ(none, "");
}

TEST(ClientUpgrade, RenamedSourcesFoldersAndEngineSettingsOfAWebInterface) {
  TGuardTestInstall install("Web/VarnelWebInterface");
  install.Write("LastVer/libeay32w.so");
  install.Write("LastVer/WebInterface/ads.ini");      // the web interface's engine settings
  install.Write("LastVer/WebInterface/Files/a.txt");  // a folder with files
  fs::create_directories(install.Path("LastVer/WebInterface/Templates"));  // empty: not listed
  install.Write("LastVer/ads.ini");  // another program's engine settings: not the web's
  std::string list;
  EXPECT_TRUE(CollectNewerFiles(4, list, Sources(install, "Web")));
  const std::string lastVer = install.Path("LastVer") + "/";
  EXPECT_EQ(list, "ads.ini|<VrlUpgrge_CopyFiles>|WebInterface/ads.ini*" + lastVer +
                      "WebInterface/Files*" + lastVer + "WebInterface*" +
                      "libeay32.so|<VrlUpgrge_CopyFiles>|libeay32w.so*");
}

TEST(ClientUpgrade, TheDesktopClientsEnglishDictionariesOnlyWithEnglish) {
  TGuardTestInstall install("Utils/VarnelCRM");
  TUpgradeSources sources = Sources(install, "Utils");
  auto has = [&](const char* name) {
    for (const TUpgradeEntry& e : UpgradeEntries(1, sources))
      if (e.LocalName == name) return true;
    return false;
  };
  EXPECT_FALSE(has("vrldic_british.adm"));
  sources.EnglishDictionaries = true;
  EXPECT_TRUE(has("vrldic_british.adm"));
  EXPECT_EQ(UpgradeEntries(1, sources).front().LocalName, "VarnelCRM");  // the main file first

  // The check asks for them by the build's language, whatever any settings file says.
  install.Write("LastVer/vrldic_british.adm");
  install.Write("Utils/VarnelCRM.ini", "[Pref]\nLanguage=LNGHEB\n");
  for (const char* langId : {"", "LNGHEB"}) {
    SetBuildLangId(langId);
    std::string list;
    CheckClientUpgrade(false, true, false, list);
    EXPECT_EQ(list.find("vrldic_british.adm") != std::string::npos, *langId == '\0') << list;
  }
  SetBuildLangId("");
}

TEST(ClientUpgrade, ThisToolNeitherWritesInstructionsNorStartsTheUpgradeProgram) {
  TGuardTestInstall install("Utils/VrlChangeDocsPath");
  install.Write("LastVer/Ansi.chr");
  install.Write("Utils/UpgradeClient/UpgradeClient");
  std::string list = "unchanged";
  bool result = true;
  EXPECT_FALSE(Ends(true, list, result));
  EXPECT_FALSE(result);
  EXPECT_EQ(list, "unchanged");
  EXPECT_TRUE(install.System->HiddenStarted.empty());
  EXPECT_TRUE(fs::is_empty(install.Path("TmpVarnel")));
  EXPECT_TRUE(TGuardTestInstall::Traces.empty());
}

TEST(ClientUpgrade, ADesktopClientWritesItsInstructionsStartsTheUpgradeAndEnds) {
  TGuardTestInstall install("Utils/VarnelCRM");
  install.Write("LastVer/Ansi.chr");
  WriteElfWithVersion(install.Path("LastVer/VrlDbEng.so"), {2, 0, 0, 0});
  install.Write("Utils/UpgradeClient/UpgradeClient");
  std::string list;
  bool result = false;
  EXPECT_TRUE(Ends(false, list, result));

  const std::string tag = std::string(RunTagOfTheFakeClock) + "VarnelCRM";
  const std::string program = install.Path("Utils/UpgradeClient/UpgradeClient");
  ASSERT_EQ(install.System->HiddenStarted.size(), 1u);
  EXPECT_EQ(install.System->HiddenStarted[0], (std::vector<std::string>{program, "1", tag, "N"}));
  EXPECT_EQ(list, tag + " Ansi.chr*VrlDbEng.so*");  // the engine group is compared last
  EXPECT_TRUE(install.System->Slept.empty());       // only servers wait
  EXPECT_TRUE(UpgradeStarted());

  const std::string file = install.Path("TmpVarnel/" + tag + "CLIENT_FILE_PATH.VRL");
  EXPECT_EQ(Instruction(file, "VRL"), install.Path("Utils") + "/");
  EXPECT_EQ(Instruction(file, "PLM"), "");
  EXPECT_EQ(Instruction(file, "HTS"), "");
  EXPECT_EQ(Instruction(file, "SELF"), "VarnelCRM");
  EXPECT_EQ(Instruction(file, "PRM"), "\"1\" \"" + tag + "\" \"N\"");
  EXPECT_EQ(Instruction(file, "VER"), "0.0.0.0");  // the module file carries no note
  EXPECT_EQ(Instruction(file, "PRM_4_ACTIVATE"), "<missing>");
  EXPECT_EQ(Instruction(file, "FILE_0"), "Ansi.chr");
  EXPECT_EQ(Instruction(file, "FILE_1"), "VrlDbEng.so");
  EXPECT_EQ(Instruction(file, "FILE_2"), "<missing>");
  EXPECT_EQ(Instruction(file, "VrlProcB4Run_0"), "VrlVpnFile");
  // The keys in table order.
  const std::string text = ReadTextFile(file);
  size_t at = 0;
  for (const char* key : {"[APP]", "VRL=", "PLM=", "HTS=", "SELF=", "PRM=", "VER=", "FILE_0=",
                          "FILE_1=", "VrlProcB4Run_0="}) {
    const size_t found = text.find(key, at);
    ASSERT_NE(found, std::string::npos) << key;
    at = found;
  }
  EXPECT_EQ(TraceNames(),
            (std::vector<std::string>{
                "I_CheckIfNeedUpgradeVer-101-Bof", "I_CheckIfNeedUpgradeVer-101-Eof",
                "I_CheckIfNeedUpgradeVer-202-Bof", "I_CheckIfNeedUpgradeVer-202-Eof"}));
}

TEST(ClientUpgrade, TheFirstParameterArrivesIntactEvenWithQuotesAndBlanks) {
  TGuardTestInstall install("Utils/VarnelCRM");
  install.System->Params = {"say \"hi\" now", "second"};
  install.Write("Utils/VarnelCRM.ini", "[DATABASE]\n");
  install.SetProgram("Utils/VarnelCRM");
  install.Write("LastVer/Ansi.chr");
  install.Write("Utils/UpgradeClient/UpgradeClient");
  std::string list;
  bool result = false;
  EXPECT_TRUE(Ends(false, list, result));
  const std::string tag = std::string(RunTagOfTheFakeClock) + "VarnelCRM";
  ASSERT_EQ(install.System->HiddenStarted.size(), 1u);
  EXPECT_EQ(install.System->HiddenStarted[0][1], "say \"hi\" now");
  EXPECT_EQ(install.System->HiddenStarted[0][3], "Y");  // the program's ini file exists
  const std::string file = install.Path("TmpVarnel/" + tag + "CLIENT_FILE_PATH.VRL");
  EXPECT_EQ(Instruction(file, "PRM_4_ACTIVATE"), "say \"hi\" now");
}

TEST(ClientUpgrade, AServerPassesZeroKeepsRunningAndWaitsOnlyTheFirstTime) {
  TGuardTestInstall install("Server/VarnelServer");
  install.Write("Server/VarnelServer.ini", "[Pref]\nUniqueServiceName=East\n");
  install.Write("Server/OldVer_VarnelServer", "previous");
  install.Write("TmpVarnel/OldVer_VarnelServer", "older still");
  install.Write("Server/OldVer_VrlDbEng.so", "previous");
  install.Write("LastVer/Server/ads.ini");
  install.Write("Utils/UpgradeClient/UpgradeClient");
  install.System->Clock = 46364.5851851852;
  RunStartUpGuard();  // creates the run mutex, then runs the check once
  std::string list;
  bool result = false;
  EXPECT_FALSE(Ends(false, list, result));  // and once more
  EXPECT_TRUE(result);

  ASSERT_EQ(install.System->HiddenStarted.size(), 2u);
  const std::string tag = std::string(RunTagOfTheFakeClock) + "VarnelServer";
  EXPECT_EQ(
      install.System->HiddenStarted[1],
      (std::vector<std::string>{install.Path("Utils/UpgradeClient/UpgradeClient"), "0", tag, "N"}));
  EXPECT_EQ(install.System->Slept, std::vector<int>{2000});
  const std::string file = install.Path("TmpVarnel/" + tag + "CLIENT_FILE_PATH.VRL");
  EXPECT_EQ(Instruction(file, "Restrat"), "N");
  EXPECT_EQ(Instruction(file, "SrvName"), "VarnelServerEast");
  EXPECT_EQ(Instruction(file, "MTX"), "VarnelServerEast081226140240");
  EXPECT_EQ(Instruction(file, "FILE_0"), "ads.ini|<VrlUpgrge_CopyFiles>|Server/ads.ini");
  // The previous versions went to the temporary folder, replacing what was there.
  EXPECT_FALSE(fs::exists(install.Path("Server/OldVer_VarnelServer")));
  EXPECT_EQ(ReadTextFile(install.Path("TmpVarnel/OldVer_VarnelServer")), "previous");
  EXPECT_TRUE(fs::exists(install.Path("TmpVarnel/OldVer_VrlDbEng.so")));
  const auto& traces = TGuardTestInstall::Traces;
  ASSERT_GE(traces.size(), 3u);
  EXPECT_EQ(traces[0].first, "ChangePrevVerFiles-301-Bof");
  EXPECT_EQ(traces[1], std::make_pair(std::string("ChangePrevVerFiles-301-xxx"),
                                      install.Path("Server") +
                                          "/ OldVer_VarnelServer\r\nOldVer_VrlDbEng.so\r\n"));
  EXPECT_EQ(traces[2],
            std::make_pair(std::string("ChangePrevVerFiles-301-Eof"), std::string("Y\r\nY\r\n")));
}

TEST(ClientUpgrade, AMissingUpgradeProgramIsReportedAndNothingStarts) {
  TGuardTestInstall install("Utils/VarnelCRM");
  install.Write("LastVer/Ansi.chr");
  std::string list;
  bool result = false;
  EXPECT_FALSE(Ends(false, list, result));
  EXPECT_TRUE(result);
  EXPECT_EQ(list, "Ansi.chr*");
  EXPECT_EQ(install.Ui->Errors,
            std::vector<std::string>{LoadStr(sFileNotFound) + "\r\n" +
                                     install.Path("Utils/UpgradeClient/UpgradeClient")});
  EXPECT_TRUE(install.System->HiddenStarted.empty());
}

TEST(ClientUpgrade, AFailedStartIsLoggedWithItsReasonAndStillEndsTheClient) {
  TGuardTestInstall install("Utils/VarnelBackup");
  install.Write("LastVer/Ansi.chr");
  install.Write("Utils/UpgradeClient/UpgradeClient");
  install.System->StartError = EACCES;
  std::string list;
  bool result = false;
  EXPECT_TRUE(Ends(false, list, result));
  bool logged = false;
  for (const auto& [name, text] : TGuardTestInstall::Traces)
    if (name == "I_CheckIfNeedUpgradeVer-202-Err")
      logged = text.find(std::strerror(EACCES)) != std::string::npos;
  EXPECT_TRUE(logged);
  EXPECT_NE(TGuardTestInstall::Traces.back().second.find("20. " + std::to_string(EACCES) + "\r\n"),
            std::string::npos);
}

TEST(ClientUpgrade, NothingNewerNeedsNoUpgradeUnlessForced) {
  TGuardTestInstall install("Utils/VarnelBackup");
  install.Write("Utils/UpgradeClient/UpgradeClient");
  std::string list;
  bool result = true;
  EXPECT_FALSE(Ends(false, list, result));
  EXPECT_FALSE(result);
  EXPECT_TRUE(install.System->HiddenStarted.empty());
  EXPECT_TRUE(Ends(true, list, result));
  ASSERT_EQ(install.System->HiddenStarted.size(), 1u);
}

TEST(ClientUpgrade, TheStateListHasTwentyNumberedLines) {
  TUpgradeState state;
  state.EndsAfterwards = true;
  state.UpgradeProgram = "/u/UpgradeClient";
  state.FileList = "a*";
  state.Kind = 1;
  state.RunTag = "T";
  state.Result = true;
  state.CommandLine = "\"1\" \"T\" \"N\"";
  state.UpgradeNeeded = true;
  state.NotLibrary = true;
  state.RunAllowed = true;
  state.CallerText = "T a*";
  state.ExtraLines = "x=y";
  state.StartResult = 2;
  EXPECT_EQ(UpgradeStateList(state),
            "1. Y\r\n2. \r\n3. /u/UpgradeClient\r\n4. \r\n5. \r\n6. a*\r\n7. 1\r\n8. T\r\n"
            "9. Y\r\n10.0\r\n11. \"1\" \"T\" \"N\"\r\n12. 2000\r\n13. Y\r\n14. Y\r\n15. Y\r\n"
            "16. N\r\n17. N\r\n\r\n\r\n18. T a*\r\n\r\n\r\n19. x=y\r\n20. 2\r\n");
}
