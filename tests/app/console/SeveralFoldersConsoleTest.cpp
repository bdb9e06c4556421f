// Several old folders in one run of the console program: --old given again and again, or a
// mapping file; what the run prints per folder, how the journal lists and shows it, its undo,
// and the refusals of what cannot be used.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/console/ConsoleProgram.h"
#include "app/console/ConsoleRewriteRun.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "tests/app/console/ConsoleRun.h"
#include "tests/support/AppTestInstallation.h"

namespace {

class SeveralFoldersConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.Seed({"C:\\Docs\\a.doc", "c:\\docs\\scans\\b.tif", "\\\\srv\\Docs\\c.doc",
                   "C:\\Docs\\Cohen, Levi\\d.doc", "D:\\x.doc"},
                  {"C:\\Docs", "C:\\Docs\\Scans\\K", "C:\\DOCS2"});
  }
  std::string Database() const {
    return TCrmTestInstall::RowsIn(install_.DbFolder(), {"Docs", "Cards"});
  }
  void Exec(const std::string& sql) const { install_.Open()->ExecSQL(sql, {}); }
  // A file of the test's folder holding text; its path.
  std::string File(const std::string& name, const std::string& text) const {
    const std::string path = install_.Path(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  TAppTestInstallation install_{"VrlChangeDocsPathCli"};
};

TEST_F(SeveralFoldersConsoleTest, RepeatedOldFoldersGoToTheOneNewFolderAndUndoAsOneRun) {
  const std::string before = Database();
  const TConsoleRun run = RunConsole({"--old", "C:\\Docs", "--old", "C:\\Docs\\Scans", "--old",
                                      "\\\\srv\\Docs", "--new", "E:\\Docs", "--yes"});
  ASSERT_EQ(run.Code, 0) << run.Out << run.Err;
  EXPECT_NE(run.Out.find("Documents: 5 examined, 4 rewritten\n"
                         "Cards: 3 examined, 2 rewritten\n"
                         "Folder C:\\Docs -> E:\\Docs: Documents 2, Cards 1\n"
                         "Folder C:\\Docs\\Scans -> E:\\Docs: Documents 1, Cards 1\n"
                         "Folder \\\\srv\\Docs -> E:\\Docs: Documents 1, Cards 0\n"
                         "Run R1 is journalled."),
            std::string::npos)
      << run.Out;
  EXPECT_EQ(install_.DocumentNames(),
            (std::vector<std::string>{"E:\\Docs\\a.doc", "E:\\Docs\\b.tif", "E:\\Docs\\c.doc",
                                      "E:\\Docs\\Cohen, Levi\\d.doc", "D:\\x.doc"}));
  EXPECT_EQ(install_.CardFolders(),
            (std::vector<std::string>{"E:\\Docs", "E:\\Docs\\K", "C:\\DOCS2"}));

  EXPECT_EQ(RunConsole({"--list-runs"}).Out,
            "R1  2026-12-08 14:02:40  3 folders -> E:\\Docs  Docs 4, Cards 2  replace\n");
  const TConsoleRun show = RunConsole({"--show-run", "r1"});
  EXPECT_EQ(show.Code, 0) << show.Err;
  EXPECT_EQ(show.Out,
            "R1  2026-12-08 14:02:40  3 folders -> E:\\Docs  Docs 4, Cards 2  replace\n"
            "Folder C:\\Docs -> E:\\Docs: Documents 2, Cards 1\n"
            "Folder C:\\Docs\\Scans -> E:\\Docs: Documents 1, Cards 1\n"
            "Folder \\\\srv\\Docs -> E:\\Docs: Documents 1, Cards 0\n"
            "State: complete. To undo it: VrlChangeDocsPathCli --undo R1\n");

  ASSERT_EQ(RunConsole({"--undo", "R1", "--yes"}).Code, 0);
  EXPECT_EQ(Database(), before);
  const std::string undone = RunConsole({"--show-run", "R1"}).Out;
  EXPECT_EQ(undone.substr(undone.find("State:")), "State: undone by run R2.\n");
  // The undo's own details: its one pair of folders, as the list shows it.
  EXPECT_EQ(RunConsole({"--show-run", "R2"}).Out,
            "R2  2026-12-08 14:02:40  E:\\Docs -> 3 folders  Docs 4, Cards 2  undo of R1\n"
            "Folder E:\\Docs -> 3 folders: Documents 4, Cards 2\n"
            "State: complete. To undo it: VrlChangeDocsPathCli --undo R2\n");
  const TConsoleRun unknown = RunConsole({"--show-run", "R9"});
  EXPECT_EQ(unknown.Code, ecRefused);
  EXPECT_NE(unknown.Err.find(Format(LoadStr(sNoSuchRun), {"R9"})), std::string::npos);
}

TEST_F(SeveralFoldersConsoleTest, AMappingFileMovesFoldersApartWithAReportPerFolder) {
  const std::string mapping =
      File("moves.csv",
           "old,new\r\n\"C:\\Docs\\Cohen, Levi\",\"E:\\Clients\\Cohen, Levi\"\r\n"
           "C:\\Docs\\Scans,E:\\Scans\r\nC:\\Docs,E:\\Docs\r\n");
  // An earlier report of one folder may be replaced by one of several, and back.
  const std::string report = install_.Path("report.csv");
  ASSERT_EQ(RunConsole({"--old", "C:\\Docs", "--new", "E:\\X", "--report", report}).Code, 0);
  const std::string before = Database();
  const TConsoleRun dry = RunConsole({"--mapping", mapping, "--report", report});
  ASSERT_EQ(dry.Code, 0) << dry.Out << dry.Err;
  EXPECT_EQ(Database(), before);
  EXPECT_NE(dry.Out.find("Documents: 5 examined, 3 to rewrite\n"), std::string::npos) << dry.Out;
  EXPECT_NE(dry.Out.find("Folder C:\\Docs\\Cohen, Levi -> E:\\Clients\\Cohen, Levi: Documents 1, "
                         "Cards 0\n"
                         "Folder C:\\Docs\\Scans -> E:\\Scans: Documents 1, Cards 1\n"
                         "Folder C:\\Docs -> E:\\Docs: Documents 1, Cards 1\n"),
            std::string::npos)
      << dry.Out;
  EXPECT_NE(dry.Out.find("Folder 2 of 3: C:\\Docs\\Scans -> E:\\Scans\n"
                         "Documents: 1 will change, 0 already under the new folder, 0 re-run "
                         "hazard, 0 too long (no width enforced)\n"
                         "  will change: c:\\docs\\scans\\b.tif -> E:\\Scans\\b.tif\n"
                         "Cards: 1 will change"),
            std::string::npos)
      << dry.Out;
  const std::string csv = Contents(report);
  EXPECT_EQ(csv.substr(0, csv.find("Docs,examined")),
            "table,measure,count,value,related,mapping\r\n"
            ",new_under_old,0,\"C:\\Docs\\Cohen, Levi\",\"E:\\Clients\\Cohen, Levi\",1\r\n"
            ",new_under_old,0,C:\\Docs\\Scans,E:\\Scans,2\r\n"
            ",new_under_old,0,C:\\Docs,E:\\Docs,3\r\n");
  EXPECT_NE(csv.find("Docs,examined,5,,,\r\nDocs,will_change,1,,,1\r\n"
                     "Docs,will_change,,\"C:\\Docs\\Cohen, Levi\\d.doc\","
                     "\"E:\\Clients\\Cohen, Levi\\d.doc\",1\r\n"),
            std::string::npos)
      << csv;
  // What no row takes is the table's, after the rows, with no mapping number.
  EXPECT_NE(dry.Out.find("Documents: 2 records under other folders than 3 folders\n"),
            std::string::npos)
      << dry.Out;
  EXPECT_NE(csv.find("Docs,other_folders,2,,,\r\nDocs,other_folder,1,D:\\,,\r\n"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("Cards,other_folders,1,,,\r\nCards,other_folder,1,C:\\DOCS2,,\r\n"),
            std::string::npos)
      << csv;
  ASSERT_EQ(RunConsole({"--old", "C:\\Docs", "--new", "E:\\X", "--report", report}).Code, 0);

  const TConsoleRun real = RunConsole({"--mapping", mapping, "--yes"});
  ASSERT_EQ(real.Code, 0) << real.Out << real.Err;
  EXPECT_EQ(install_.DocumentNames(),
            (std::vector<std::string>{"E:\\Docs\\a.doc", "E:\\Scans\\b.tif", "\\\\srv\\Docs\\c.doc",
                                      "E:\\Clients\\Cohen, Levi\\d.doc", "D:\\x.doc"}));
  EXPECT_EQ(install_.CardFolders(),
            (std::vector<std::string>{"E:\\Docs", "E:\\Scans\\K", "C:\\DOCS2"}));
  EXPECT_NE(RunConsole({"--list-runs"}).Out.find("3 folders -> E:\\Clients\\Cohen, Levi  Docs 3"),
            std::string::npos);
}

// A journal of an older version has no column for the rows: it is listed and shown as before,
// and the next run of several folders adds the column.
TEST_F(SeveralFoldersConsoleTest, AnOlderJournalGetsTheRowsColumnWithItsNextRun) {
  const std::string before = Database();
  ASSERT_EQ(RunConsole({"--old", "C:\\Docs", "--new", "E:\\X", "--yes"}).Code, 0);
  Exec("ALTER TABLE VrlPathRuns DROP COLUMN Mappings");
  const TConsoleRun show = RunConsole({"--show-run", "R1"});
  EXPECT_EQ(show.Code, 0) << show.Err;
  EXPECT_NE(show.Out.find("Folder C:\\Docs -> E:\\X: Documents 3, Cards 2\n"), std::string::npos)
      << show.Out;
  const TConsoleRun several =
      RunConsole({"--old", "E:\\X", "--old", "\\\\srv\\Docs", "--new", "F:\\Y", "--yes"});
  ASSERT_EQ(several.Code, 0) << several.Out << several.Err;
  EXPECT_EQ(TCrmTestInstall::ColumnIn(install_.DbFolder(), "VrlPathRuns", "Mappings"),
            (std::vector<std::string>{"<NULL>", "E:\\X\tF:\\Y\n\\\\srv\\Docs\tF:\\Y\n"}));
  ASSERT_EQ(RunConsole({"--undo", "R2", "--yes"}).Code, 0);
  ASSERT_EQ(RunConsole({"--undo", "R1", "--yes"}).Code, 0);
  EXPECT_EQ(Database(), before);
}

// Per-folder counts are printed only when they add up to what the tables hold; otherwise the
// run says so and where to count them.
TEST(PrintByFolder, TellsTheRowsOnlyWhenTheyAddUpToWhatWasCommitted) {
  TCommandResult result;
  result.Mappings = {{"C:\\A", "E:\\A"}, {"C:\\B", "E:\\B"}};
  result.RunId = "R5";
  result.Docs.Rewritten = 4;
  result.Docs.ByRow = {1, 3};
  result.Cards.Rewritten = 1;
  result.Cards.ByRow = {1, 0};
  std::ostringstream added;
  PrintByFolder(added, result);
  EXPECT_EQ(
      added.str(),
      "Folder C:\\A -> E:\\A: Documents 1, Cards 1\nFolder C:\\B -> E:\\B: Documents 3, Cards 0\n");
  result.Docs.Rewritten = 3;  // a group of posts the rule counted was not committed
  std::ostringstream lost;
  PrintByFolder(lost, result);
  EXPECT_EQ(lost.str(),
            Format(LoadStr(sFolderCountsUnknown), {1}) + "\n" +
                Format(LoadStr(sFolderCountsFromJournal), {"VrlChangeDocsPathCli --show-run R5"}) +
                "\n");
}

struct TRefusedCase {
  const char* Name;
  std::vector<std::string> Args;  // "FILE": the mapping file below
  std::string FileText;
  int Code;
  std::string Message;  // on the error stream; empty: any
};

class SeveralFoldersRefusedTest : public SeveralFoldersConsoleTest,
                                  public ::testing::WithParamInterface<TRefusedCase> {};

TEST_P(SeveralFoldersRefusedTest, ChangesNothing) {
  const TRefusedCase& c = GetParam();
  const std::string file = File("map.csv", c.FileText);
  std::vector<std::string> args;
  for (const std::string& arg : c.Args) args.push_back(arg == "FILE" ? file : arg);
  const std::string before = Database();
  const std::string logBefore = install_.LogText();
  const TConsoleRun run = RunConsole(args);
  EXPECT_EQ(run.Code, c.Code) << run.Out << run.Err;
  EXPECT_NE(run.Err.find(Format(c.Message, {file})), std::string::npos) << run.Err;
  EXPECT_EQ(Database(), before);
  EXPECT_EQ(install_.LogText().find("Change Docs Path", logBefore.size()), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SeveralFoldersRefusedTest,
    ::testing::Values(
        TRefusedCase{"OldAndMapping",
                     {"--old", "C:\\Docs", "--mapping", "FILE", "--yes"},
                     "old,new\nC:\\A,E:\\A\n",
                     ecUsage,
                     "excludes"},
        TRefusedCase{"MappingAndNew",
                     {"--mapping", "FILE", "--new", "E:\\X", "--yes"},
                     "old,new\nC:\\A,E:\\A\n",
                     ecUsage,
                     "excludes"},
        TRefusedCase{"NoSuchFile",
                     {"--mapping", "/nonexistent/map.csv", "--yes"},
                     "",
                     ecUsage,
                     Format(LoadStr(sMappingFileUnreadable),
                            {"/nonexistent/map.csv", "No such file or directory"})},
        TRefusedCase{"BadQuotes",
                     {"--mapping", "FILE", "--yes"},
                     "old,new\nC:\\A,E:\\A\n\"C:\\B,E:\\B\n",
                     ecUsage,
                     Format(LoadStr(sMappingFileBadQuotes), {"%s", 3})},
        TRefusedCase{"NoHeader",
                     {"--mapping", "FILE", "--yes"},
                     "C:\\Docs,E:\\Docs\n",
                     ecUsage,
                     Format(LoadStr(sMappingFileNoHeader), {"%s", 1})},
        TRefusedCase{"TheSameOldFolderTwice",
                     {"--old", "C:\\Docs", "--old", "c:\\docs\\", "--new", "E:\\Docs", "--yes"},
                     "",
                     ecRefused,
                     Format(LoadStr(sMappingSameOld), {"c:\\docs\\", 1, 2})},
        TRefusedCase{
            "ASwap",
            {"--mapping", "FILE", "--yes"},
            "old,new\nC:\\Docs,\\\\srv\\Docs\n\\\\srv\\Docs,C:\\Docs\n",
            ecRefused,
            Format(LoadStr(sMappingRewrittenAgain), {"\\\\srv\\Docs", 1, "\\\\srv\\Docs", 2})},
        TRefusedCase{
            "ANewFolderUnderItsOldOneWithoutForce",
            {"--old", "C:\\Docs", "--old", "D:\\Docs", "--new", "C:\\Docs\\Archive", "--yes"},
            "",
            ecRefused,
            Format(LoadStr(sNewUnderOldRefused), {"C:\\Docs\\Archive", "C:\\Docs"})},
        TRefusedCase{"FileChecksOfFoldersMovedApart",
                     {"--mapping", "FILE", "--check-files", "--old-root", "/tmp"},
                     "old,new\nC:\\A,E:\\A\nC:\\B,E:\\B\n",
                     ecUsage,
                     Format(LoadStr(sCheckFilesOneNewFolder), {2})}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
