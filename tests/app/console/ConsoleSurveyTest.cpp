// The console's survey of the stored folders: the grouping, the spelling shown and the order of
// the folders, the values that are no path, the depth, the CSV report, and that it changes
// nothing and takes no lock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/app/console/ConsoleRun.h"
#include "tests/fuzz/targets/CsvReader.h"
#include "tests/support/AppTestInstallation.h"

namespace {

namespace fs = std::filesystem;

const char* const kHeading =
    "Stored folders, cut after %d levels (a drive or a \\\\server\\share is the first). Nothing "
    "was changed.\n";

std::string Heading(int depth) {
  std::string text = kHeading;
  return text.replace(text.find("%d"), 2, std::to_string(depth));
}

class ConsoleSurveyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.Seed({"C:\\VarnelDocs\\Smith\\a.doc", "c:\\varneldocs\\b.doc",
                   "c:\\VARNELDOCS\\Jones\\2020\\c.doc", "c:\\varneldocs\\d.doc",
                   "\\\\fs1\\Docs\\Scans\\x.tif", "\\\\FS1\\docs\\scans\\y.tif",
                   "\\\\fs1\\Docs\\Scans\\2019\\z.tif", "D:\\a.doc", "", "Docs\\rel.doc",
                   "https://dms.example/doc/7"},
                  {"C:\\VarnelDocs\\Smith", "C:\\VarnelDocs\\", "\\\\fs1\\Docs\\Scans\\"});
    install_.Pref("yossi", "DOC_MAIN_FOLDER", "A", "\\\\fs1\\C$\\VarnelDocs");
    install_.Pref("-1", "DOC_PLACE_KIND", "I", "1");
    install_.Pref("-1", "GEN_DATE_SEPARATOR", "A", "/");
  }
  TAppTestInstallation install_{"VrlChangeDocsPathCli"};
};

TEST_F(ConsoleSurveyTest, FoldersAreGroupedWithoutCaseMostRecordsFirstInTheirCommonestSpelling) {
  const std::string before =
      TCrmTestInstall::RowsIn(install_.DbFolder(), {"Docs", "Cards", "Pref"});
  const TConsoleRun run = RunConsole({"--survey"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(run.Out, Heading(2) +
                         "Documents (Docs.DOCUMENT_NAME): 11 records\n"
                         "  4  c:\\varneldocs\n"  // two of its four values are spelt so
                         "  3  \\\\fs1\\Docs\\Scans\n"
                         "  1  D:\\\n"
                         "  1  (empty)\n"
                         "  1  (url)\n"
                         "  1  (relative)\n"
                         "Cards (Cards.DOCSFOLDER): 3 records\n"
                         "  2  C:\\VarnelDocs\n"
                         "  1  \\\\fs1\\Docs\\Scans\n"
                         "Preferences (text values of Pref): 2 records\n"
                         "  1  \\\\fs1\\C$\\VarnelDocs\n"
                         "  1  (relative)\n");
  EXPECT_EQ(run.Err, "");
  // It reads like a dry run: nothing written, no replace lock.
  EXPECT_EQ(TCrmTestInstall::RowsIn(install_.DbFolder(), {"Docs", "Cards", "Pref"}), before);
  EXPECT_FALSE(fs::exists(install_.Path("DB/VrlChangeDocsPath.lock")));

  // On a terminal the two large tables show their progress on the error stream.
  const TConsoleRun shown = RunConsole({"--survey"}, {}, {.StderrIsTerminal = true});
  EXPECT_EQ(shown.Out, run.Out);
  EXPECT_NE(shown.Err.find("\rDocuments: 11 of 11\n"), std::string::npos) << shown.Err;
  EXPECT_NE(shown.Err.find("\rCards: 3 of 3\n"), std::string::npos) << shown.Err;
}

TEST_F(ConsoleSurveyTest, TheDepthCutsThePathsDeeperOrShallower) {
  const struct {
    const char* depth;
    const char* docs;
  } cases[] = {
      {"1",
       "Documents (Docs.DOCUMENT_NAME): 11 records\n"
       "  4  c:\\\n"
       "  3  \\\\fs1\\Docs\n"
       "  1  D:\\\n"},
      {"3",
       "Documents (Docs.DOCUMENT_NAME): 11 records\n"
       "  2  \\\\FS1\\docs\\scans\n"  // x.tif and y.tif, one spelling each: the first in text order
       "  2  c:\\varneldocs\n"
       "  1  C:\\VarnelDocs\\Smith\n"
       "  1  D:\\\n"
       "  1  \\\\fs1\\Docs\\Scans\\2019\n"
       "  1  c:\\VARNELDOCS\\Jones\n"},
      {"8",
       "Documents (Docs.DOCUMENT_NAME): 11 records\n"
       "  2  \\\\FS1\\docs\\scans\n"
       "  2  c:\\varneldocs\n"
       "  1  C:\\VarnelDocs\\Smith\n"
       "  1  D:\\\n"
       "  1  \\\\fs1\\Docs\\Scans\\2019\n"
       "  1  c:\\VARNELDOCS\\Jones\\2020\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.depth);
    const TConsoleRun run = RunConsole({"--survey", "--depth", c.depth});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind(Heading(std::stoi(c.depth)) + c.docs, 0), 0u) << run.Out;
  }
}

TEST_F(ConsoleSurveyTest, TheSurveyTakesNoOtherCommandsOptionsAndADepthFromOneToEight) {
  const std::vector<std::vector<std::string>> usage = {
      {"--survey", "--depth", "0"},
      {"--survey", "--depth", "9"},
      {"--survey", "--depth", "-1"},
      {"--survey", "--depth", "two"},
      {"--survey", "--depth", ""},
      {"--survey", "--depth"},
      {"--depth", "2", "--new", "E:\\New"},
      {"--survey", "--new", "E:\\New"},
      {"--survey", "--old", "C:\\VarnelDocs"},
      {"--survey", "--undo", "R1"},
      {"--survey", "--resume", "R1"},
      {"--survey", "--list-runs"},
      {"--survey", "--force"},
      {"--survey", "--no-journal"},
      {"--survey", "--check-files", "--old-root", "/mnt/old"},
  };
  for (const std::vector<std::string>& args : usage) {
    SCOPED_TRACE(args.back());
    const TConsoleRun run = RunConsole(args);
    EXPECT_EQ(run.Code, 64) << run.Out;
    EXPECT_EQ(run.Out.find("Stored folders"), std::string::npos);
  }
}

TEST_F(ConsoleSurveyTest, TheReportHoldsTheSameFoldersAsCsv) {
  const std::string file = install_.Path("survey.csv");
  const TConsoleRun run = RunConsole({"--survey", "--report", file});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_NE(run.Out.find("  4  c:\\varneldocs\n"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("Report written to " + file + "\n"), std::string::npos) << run.Out;
  std::ifstream in(file, std::ios::binary);
  const std::optional<TCsvRows> rows =
      ReadCsv({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  ASSERT_TRUE(rows.has_value());
  EXPECT_EQ(*rows, (TCsvRows{{"table", "measure", "count", "value", "related"},
                             {"", "survey_depth", "2", "", ""},
                             {"Docs", "examined", "11", "", ""},
                             {"Docs", "stored_folder", "4", "c:\\varneldocs", ""},
                             {"Docs", "stored_folder", "3", "\\\\fs1\\Docs\\Scans", ""},
                             {"Docs", "stored_folder", "1", "D:\\", ""},
                             {"Docs", "stored_kind", "1", "empty", ""},
                             {"Docs", "stored_kind", "1", "url", ""},
                             {"Docs", "stored_kind", "1", "relative", ""},
                             {"Cards", "examined", "3", "", ""},
                             {"Cards", "stored_folder", "2", "C:\\VarnelDocs", ""},
                             {"Cards", "stored_folder", "1", "\\\\fs1\\Docs\\Scans", ""},
                             {"Pref", "examined", "2", "", ""},
                             {"Pref", "stored_folder", "1", "\\\\fs1\\C$\\VarnelDocs", ""},
                             {"Pref", "stored_kind", "1", "relative", ""}}));

  // The pre-flight report's file rule: never the database, nothing but a report replaced.
  std::ofstream(install_.Path("notes.txt")) << "keep me";
  for (const std::string& target : {install_.DbFile(), install_.Path("notes.txt")}) {
    SCOPED_TRACE(target);
    const std::string contents = TCrmTestInstall::ReadBytes(target);
    const TConsoleRun refused = RunConsole({"--survey", "--report", target});
    EXPECT_EQ(refused.Code, 2);
    EXPECT_EQ(refused.Err.rfind("The report is not written to " + target + ": ", 0), 0u)
        << refused.Err;
    EXPECT_EQ(refused.Out, "");  // refused before the tables are read
    EXPECT_EQ(TCrmTestInstall::ReadBytes(target), contents);
  }
}

}  // namespace
