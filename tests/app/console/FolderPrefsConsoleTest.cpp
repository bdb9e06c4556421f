// The folder preferences follow a replace of the console program: counted by the dry run,
// kept with a notice line where nobody can answer, rewritten at every level when asked, and put
// back by the undo.
#include <gtest/gtest.h>

#include "common/Format.h"
#include "common/StrTable.h"
#include "tests/app/console/ConsoleRun.h"
#include "tests/support/AppTestInstallation.h"

namespace {

class FolderPrefsConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\K"});
    install_.Pref("-2", "KNBASE_DOCS_FOLDER", "A", "c:\\docs\\KB");  // system, other case
    install_.Pref("-1", "DOC_MAIN_FOLDER", "A", "C:\\Docs\\");       // trailing backslash
    install_.Pref("-1", "DOC_FILE_FOR_TEMPLATE", "M", "C:\\Docs\\t.dot");
    install_.Pref("dana", "DOC_MAIN_FOLDER", "CI", "C:\\Docs");
    install_.Pref("dana", "CARD_SORT_BY", "I", "C:\\Docs");       // no text: the store converts it
    install_.Pref("-1", "CARD_QFAX_DIR", "A", "C:\\Docs2\\Fax");  // another folder
  }
  std::vector<std::string> Values() const { return install_.Column("Pref", "VALUE"); }
  std::string Log() const {
    return TCrmTestInstall::ReadBytes(install_.Path("Logs/UserLog_VrlChangeDocsPathCli.TXT"));
  }

  TAppTestInstallation install_{"VrlChangeDocsPathCli"};
};

TEST_F(FolderPrefsConsoleTest, KeptWithANoticeUnlessAskedThenRewrittenAtEveryLevelAndUndone) {
  const std::vector<std::string> before = Values();
  const TConsoleRun dry = RunConsole({"--old", "C:\\Docs", "--new", "E:\\New", "--dry-run"});
  ASSERT_EQ(dry.Code, 0) << dry.Err;
  EXPECT_NE(dry.Out.find("Preferences: 4 of 5 text values name the old folder\n"
                         "  will change: KNBASE_DOCS_FOLDER (system): c:\\docs\\KB -> E:\\New\\KB\n"
                         "  will change: DOC_MAIN_FOLDER (all users): C:\\Docs\\ -> E:\\New\\\n"),
            std::string::npos)
      << dry.Out;

  // Without a terminal, and with --yes on one, nobody is asked: they are kept and counted.
  for (const TConsoleTerminal terminal : {TConsoleTerminal{}, TConsoleTerminal{true, false}}) {
    const TConsoleRun kept =
        RunConsole({"--old", "C:\\Docs", "--new", "E:\\New", "--yes"}, {}, terminal);
    ASSERT_EQ(kept.Code, 0) << kept.Err;
    EXPECT_NE(kept.Out.find(Format(LoadStr(sPrefsLeftNotice), {int64_t{4}})), std::string::npos)
        << kept.Out;
    EXPECT_EQ(kept.Out.find("Preferences: "), std::string::npos) << kept.Out;
    EXPECT_EQ(Values(), before);
  }
  EXPECT_NE(Log().find("Preferences: 4 left naming the old folder"), std::string::npos);

  // Asked on a terminal and answered No: kept, and told.
  const TConsoleRun no =
      RunConsole({"--old", "C:\\Docs", "--new", "E:\\New"}, "y\nn\n", {true, false});
  EXPECT_NE(no.Out.find(Format(LoadStr(sPrefsQuestion), {int64_t{4}})), std::string::npos);
  EXPECT_EQ(Values(), before);

  // Answered Yes: only the text values under the folder, only their folder part; journalled.
  const TConsoleRun yes =
      RunConsole({"--old", "C:\\Docs", "--new", "E:\\New"}, "y\ny\n", {true, false});
  ASSERT_EQ(yes.Code, 0) << yes.Err;
  EXPECT_NE(yes.Out.find("Preferences: 6 examined, 4 rewritten\nRun R4 is journalled."),
            std::string::npos)
      << yes.Out;
  EXPECT_EQ(yes.Out.find(Format(LoadStr(sPrefsLeftNotice), {int64_t{0}})), std::string::npos);
  EXPECT_EQ(Values(), (std::vector<std::string>{"E:\\New\\KB", "E:\\New\\", "E:\\New\\t.dot",
                                                "E:\\New", "C:\\Docs", "C:\\Docs2\\Fax"}));
  EXPECT_NE(Log().find("Preferences: 4 pointed at the new folder"), std::string::npos);
  // Listed with its own count of preferences, not added to the cards.
  const std::string runs = RunConsole({"--list-runs"}).Out;
  EXPECT_NE(runs.find("Docs 0, Cards 0, Pref 4  replace\n"), std::string::npos) << runs;

  const TConsoleRun undo = RunConsole({"--undo", "R4", "--yes"});
  ASSERT_EQ(undo.Code, 0) << undo.Out << undo.Err;
  EXPECT_NE(undo.Out.find("Preferences: 6 examined, 4 restored"), std::string::npos) << undo.Out;
  EXPECT_EQ(Values(), before);

  // --preferences keep says nothing more; a usage error for anything but update and keep.
  const TConsoleRun keep = RunConsole(
      {"--old", "C:\\Docs", "--new", "E:\\New", "--yes", "--preferences", "keep"}, {}, {});
  EXPECT_EQ(keep.Out.find("folder preferences"), std::string::npos) << keep.Out;
  EXPECT_EQ(Values(), before);
  EXPECT_EQ(RunConsole({"--new", "E:\\New", "--preferences", "all"}).Code, 64);
  EXPECT_EQ(RunConsole({"--list-runs", "--preferences", "keep"}).Code, 64);
}

TEST_F(FolderPrefsConsoleTest, SeveralFoldersTakeThePreferencesByTheirFolders) {
  // The documents moved, their preferences kept; a second run of two folders takes them alone.
  ASSERT_EQ(RunConsole({"--old", "C:\\Docs", "--new", "E:\\New", "--yes"}).Code, 0);
  const TConsoleRun several = RunConsole({"--old", "C:\\Docs", "--old", "C:\\Docs2", "--new",
                                          "E:\\New", "--yes", "--preferences", "update"});
  ASSERT_EQ(several.Code, 0) << several.Err;
  EXPECT_EQ(Values(), (std::vector<std::string>{"E:\\New\\KB", "E:\\New\\", "E:\\New\\t.dot",
                                                "E:\\New", "C:\\Docs", "E:\\New\\Fax"}));
  EXPECT_NE(several.Out.find("Preferences: 6 examined, 5 rewritten"), std::string::npos)
      << several.Out;
}

// A run that failed in its preferences pass is resumed with them, asked or not: it finishes
// what it began.
TEST_F(FolderPrefsConsoleTest, AResumeFinishesThePreferencesTheRunBegan) {
  install_.Open()->ExecSQL(
      "CREATE TRIGGER FailPref BEFORE UPDATE ON Pref WHEN OLD.RECID = 'P3' BEGIN SELECT "
      "RAISE(ABORT, 'record P3 is locked'); END",
      {});
  const TConsoleRun failed =
      RunConsole({"--old", "C:\\Docs", "--new", "E:\\New", "--yes", "--preferences", "update"});
  EXPECT_EQ(failed.Code, 2) << failed.Out << failed.Err;
  EXPECT_NE(RunConsole({"--list-runs"}).Out.find("incomplete"), std::string::npos);
  EXPECT_EQ(Values()[2], "C:\\Docs\\t.dot");
  install_.Open()->ExecSQL("DROP TRIGGER FailPref", {});

  const TConsoleRun resumed = RunConsole({"--resume", "R1", "--yes"});
  ASSERT_EQ(resumed.Code, 0) << resumed.Out << resumed.Err;
  EXPECT_EQ(Values(), (std::vector<std::string>{"E:\\New\\KB", "E:\\New\\", "E:\\New\\t.dot",
                                                "E:\\New", "C:\\Docs", "C:\\Docs2\\Fax"}));
  // The undo of the whole run puts every preference back.
  ASSERT_EQ(RunConsole({"--undo", "R1", "--yes"}).Code, 0);
  EXPECT_EQ(Values()[0], "c:\\docs\\KB");
  EXPECT_EQ(Values()[2], "C:\\Docs\\t.dot");
}

}  // namespace
