#include "app/console/ConsoleProgram.h"
#include "tests/app/console/ConsoleRun.h"

#include <gtest/gtest.h>

#include <sstream>

#include "host/SysFolders.h"
#include "tests/support/AppTestInstallation.h"

namespace {

class ConsoleProgramTest : public ::testing::Test {
 protected:
  TConsoleRun Run(const std::vector<std::string>& args, const std::string& typed = {},
                  TConsoleTerminal terminal = {}) {
    return RunConsole(args, typed, terminal);
  }
  std::unique_ptr<TAppTestInstallation> install_ =
      std::make_unique<TAppTestInstallation>("VrlChangeDocsPathCli");
};

TEST_F(ConsoleProgramTest, AReplacePrintsWhatItExaminedAndRewrote) {
  install_->Seed({"C:\\Docs\\a.doc", "c:\\docs\\Sub\\b.doc", "D:\\x.doc"},
                 {"C:\\Docs\\A", "D:\\B"});
  const TConsoleRun run = Run({"--old", "c:\\docs", "--new", "\\\\srv\\share", "--yes"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(run.Out,
            "Operation completed\n"
            "Documents: 3 examined, 2 rewritten\n"
            "Cards: 2 examined, 1 rewritten\n"
            "Run R1 is journalled. To undo it: VrlChangeDocsPathCli --undo R1\n");
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{"\\\\srv\\share\\a.doc", "\\\\srv\\share\\Sub\\b.doc",
                                      "D:\\x.doc"}));
  EXPECT_EQ(install_->CardFolders(), (std::vector<std::string>{"\\\\srv\\share\\A", "D:\\B"}));
}

TEST_F(ConsoleProgramTest, ADryRunChangesNothingAndListsTheRewrites) {
  std::vector<std::string> docs;
  for (int i = 0; i < 25; ++i) docs.push_back("C:\\Docs\\" + std::to_string(i) + ".doc");
  install_->Seed(docs, {"C:\\Docs\\A", "C:\\Docs"});
  const TConsoleRun run = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--dry-run"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(install_->DocumentNames(), docs);
  EXPECT_EQ(install_->CardFolders(), (std::vector<std::string>{"C:\\Docs\\A", "C:\\Docs"}));
  std::istringstream lines(run.Out);
  std::vector<std::string> out;
  for (std::string line; std::getline(lines, line);) out.push_back(line);
  ASSERT_EQ(out.size(), 1u + 1u + 20u + 1u + 2u + 4u);
  EXPECT_EQ(out[0], "Dry run: nothing was changed.");
  EXPECT_EQ(out[1], "Documents: 25 examined, 25 to rewrite");
  EXPECT_EQ(out[2], "  C:\\Docs\\0.doc -> E:\\New\\0.doc");
  EXPECT_EQ(out[21], "  C:\\Docs\\19.doc -> E:\\New\\19.doc");
  EXPECT_EQ(out[22], "Cards: 2 examined, 2 to rewrite");
  EXPECT_EQ(out[23], "  C:\\Docs\\A -> E:\\New\\A");
  EXPECT_EQ(out[24], "  C:\\Docs -> E:\\New");
  EXPECT_EQ(out[25], "Pre-flight report");
  EXPECT_EQ(out[26],
            "Documents: 25 will change, 0 already under the new folder, 0 re-run hazard, 0 too "
            "long (no width enforced)");
  EXPECT_EQ(out[27],
            "Cards: 2 will change, 0 already under the new folder, 0 re-run hazard, 0 too long "
            "(no width enforced)");
}

TEST_F(ConsoleProgramTest, RefusalsExitWithOneAndChangeNothing) {
  install_->Seed({"C:\\Docs\\a.doc"}, {});
  const TConsoleRun blank = Run({"--old", "C:\\Docs", "--new", "  ", "--yes"});
  EXPECT_EQ(blank.Code, 1);
  EXPECT_EQ(blank.Err, "Enter new path and try again\n");
  EXPECT_EQ(blank.Out, "");

  // A path no Windows path can be: its own message on standard error, before any question.
  const TConsoleRun forged = Run({"--old", "C:\\Docs", "--new",
                                  "E:\\N\r\n[01/01/2020 00:00:00:000 v9] forged entry", "--yes"});
  EXPECT_EQ(forged.Code, 1);
  EXPECT_EQ(forged.Err,
            "The new path holds a line break or another control character, which no Windows "
            "path holds. Nothing was changed.\n");
  EXPECT_EQ(forged.Out, "");
  const TConsoleRun tooLong = Run({"--old", "C:\\" + std::string(40000, 'd'), "--new", "E:\\New"},
                                  "y\n", {.StdinIsTerminal = true});
  EXPECT_EQ(tooLong.Code, 1);
  EXPECT_EQ(tooLong.Err.rfind("The old path is longer than 32,767 characters", 0), 0u);
  EXPECT_EQ(tooLong.Out, "");

  const TConsoleRun noTerminal = Run({"--old", "C:\\Docs", "--new", "E:\\New"}, "y\n");
  EXPECT_EQ(noTerminal.Code, 1);
  EXPECT_NE(noTerminal.Err.find("--yes"), std::string::npos);

  const TConsoleRun answeredNo =
      Run({"--old", "C:\\Docs", "--new", "E:\\New"}, "no\n", {.StdinIsTerminal = true});
  EXPECT_EQ(answeredNo.Code, 1);
  EXPECT_EQ(answeredNo.Out, "Do you want to start updating document paths? [y/N] ");
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});

  const TConsoleRun answeredYes =
      Run({"--old", "C:\\Docs", "--new", "E:\\New"}, "yes\n", {.StdinIsTerminal = true});
  EXPECT_EQ(answeredYes.Code, 0);
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"E:\\New\\a.doc"});
}

TEST_F(ConsoleProgramTest, FailuresOfEitherPassExitWithTwo) {
  install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A", "C:\\Docs\\B"});
  install_->FailUpdatesOf("Cards", 2);
  const TConsoleRun cards = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--yes"});
  EXPECT_EQ(cards.Code, 2);
  EXPECT_EQ(cards.Err.rfind("The process failed\r\n", 0), 0u) << cards.Err;
  EXPECT_EQ(cards.Out.find("Operation completed"), std::string::npos);
  // The counts of the stopped pass are printed: the failing card was examined, not rewritten.
  EXPECT_NE(cards.Out.find("Cards: 2 examined, 1 rewritten"), std::string::npos) << cards.Out;

  install_.reset();  // a fresh installation: no failing cards
  install_ = std::make_unique<TAppTestInstallation>("VrlChangeDocsPathCli");
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc"}, {"C:\\Docs\\A"});
  install_->FailUpdatesOf("Docs", 2);
  const TConsoleRun docs = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--yes"});
  EXPECT_EQ(docs.Code, 2);
  EXPECT_NE(docs.Err.find("record 2 is locked"), std::string::npos);
  EXPECT_NE(docs.Err.find("Message registered in log file:"), std::string::npos);
  EXPECT_EQ(docs.Out, "");
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"C:\\Docs\\A"});
}

TEST_F(ConsoleProgramTest, WrongUsageExitsWithSixtyFour) {
  EXPECT_EQ(Run({"--old", "C:\\Docs"}).Code, 64);
  EXPECT_EQ(Run({"--old", "C:\\Docs", "--new", "E:\\New", "--bogus"}).Code, 64);
  const TConsoleRun stray = Run({"--old", "C:\\Docs", "--new", "E:\\New", "extra"});
  EXPECT_EQ(stray.Code, 64);
  EXPECT_NE(stray.Err, "");
  const TConsoleRun help = Run({"--help"});
  EXPECT_EQ(help.Code, 0);
  EXPECT_NE(help.Out.find("--dry-run"), std::string::npos);
}

// An empty value, or an option taken for the value because the value was left out.
TEST_F(ConsoleProgramTest, AnEmptyValueIsWrongUsageAndChangesNothing) {
  install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
  const std::string root = install_->Root();
  for (const std::vector<std::string>& given :
       {std::vector<std::string>{"--report", ""},
        {"--report="},
        {"--report=", "--dry-run"},
        {"--report", "--dry-run"},
        {"--old", ""},
        {"--old="},
        {"--new", ""},
        {"--new=", "--dry-run"},
        {"--check-files", "--old-root", ""},
        {"--check-files", "--old-root", root, "--new-root", ""}}) {
    SCOPED_TRACE(given.front() + " " + given.back());
    std::vector<std::string> args = {"--yes"};
    if (given.front() != "--old" && given.front() != "--old=")
      args.insert(args.end(), {"--old", "C:\\Docs"});
    if (given.front().rfind("--new", 0) != 0) args.insert(args.end(), {"--new", "E:\\New"});
    args.insert(args.end(), given.begin(), given.end());
    const TConsoleRun run = Run(args);
    EXPECT_EQ(run.Code, 64) << run.Out;
    EXPECT_NE(run.Err, "");
    EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
    EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"C:\\Docs\\A"});
  }
  // The journal commands' run, likewise.
  for (const char* command : {"--undo", "--resume"}) {
    SCOPED_TRACE(command);
    const TConsoleRun run = Run({"--yes", command, ""});
    EXPECT_EQ(run.Code, 64) << run.Out;
    EXPECT_NE(run.Err.find("may not be empty"), std::string::npos) << run.Err;
  }
}

TEST_F(ConsoleProgramTest, ProgressOnlyWhenStandardErrorIsATerminal) {
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc"}, {"C:\\Docs\\A"});
  const TConsoleRun quiet = Run({"--old", "C:\\Docs", "--new", "E:\\A", "--yes"});
  EXPECT_EQ(quiet.Err, "");
  const TConsoleRun shown =
      Run({"--old", "E:\\A", "--new", "E:\\B", "--yes"}, {}, {.StderrIsTerminal = true});
  EXPECT_NE(shown.Err.find("\rDocuments: 2 of 2\n"), std::string::npos) << shown.Err;
  EXPECT_NE(shown.Err.find("\rCards: 1 of 1\n"), std::string::npos) << shown.Err;
}

}  // namespace

TEST_F(ConsoleProgramTest, WithoutOldTheDocumentsFolderOfThePreferencesIsReplaced) {
  install_->Seed({"C:\\Docs\\a.doc", "E:\\x.doc"}, {"c:\\docs\\A"});
  install_->Pref("-1", "DOC_MAIN_FOLDER", "A", "C:\\Docs");
  install_->Pref("dana", "DOC_MAIN_FOLDER", "A", "D:\\Dana");
  const TConsoleRun run = Run({"--new", "E:\\New", "--yes"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(run.Out.rfind("Old path (documents folder of the preferences): C:\\Docs\n", 0), 0u)
      << run.Out;
  EXPECT_EQ(install_->DocumentNames(), (std::vector<std::string>{"E:\\New\\a.doc", "E:\\x.doc"}));
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"E:\\New\\A"});
}

TEST_F(ConsoleProgramTest, WithoutOldOrPreferencesTheInstallationsDocumentsFolderIsOffered) {
  const TConsoleRun run = Run({"--new", "E:\\New", "--dry-run"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_NE(run.Out.find("Old path (documents folder of the preferences): " + DocsFolder() + "\n"),
            std::string::npos)
      << run.Out;
}
