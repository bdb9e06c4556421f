// The pre-flight report on databases built for it: every measure counted by the passes' own
// rules (letter case, the card pass's folder boundary), samples, the width an engine enforces,
// and the files looked for on disk.
#include "docpaths/PreflightReport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "tests/docpaths/DocPassFixture.h"
#include "tests/docpaths/FixedWidthEngine.h"

namespace {

using TSamples = std::vector<std::pair<std::string, std::string>>;

class PreflightReportTest : public ::testing::Test {
 protected:
  // Fills the tables and opens the main connection, on an engine enforcing width if given.
  void Build(const std::vector<std::string>& docs, const std::vector<std::string>& cards,
             std::optional<size_t> width = std::nullopt) {
    Fill(install, "Docs", "DOCUMENT_NAME", docs);
    Fill(install, "Cards", "DOCSFOLDER", cards);
    if (width)
      Platform().SetEngine(std::make_unique<TFixedWidthDriver>(CreateSqliteAceDriver(), *width));
    ASSERT_TRUE(MainConnectionIsOpen());
  }
  TCrmTestInstall install;
};

TEST(NewFolderUnderOld, OnlyAFolderStrictlyBelowTheOldOne) {
  const struct {
    const char* oldPath;
    const char* newPath;
    bool under;
  } cases[] = {
      {"C:\\Docs", "C:\\Docs\\Archive", true},
      {"C:\\Docs\\", "c:\\docs\\archive\\", true},
      {"c:\\docs", "C:\\DOCS\\A", true},
      {"C:\\Docs", "C:\\Docs", false},
      {"C:\\Docs", "c:\\docs\\", false},
      {"C:\\Docs", "C:\\Docs2", false},
      {"C:\\Docs\\Archive", "C:\\Docs", false},
      {"C:\\Docs", "E:\\Docs\\Archive", false},
      {"", "C:\\Docs", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NewFolderUnderOld(c.oldPath, c.newPath), c.under) << c.oldPath << " " << c.newPath;
}

TEST_F(PreflightReportTest, CountsEachMeasureByThePassesRules) {
  Build({"C:\\Docs\\a.doc", "c:\\docs\\Sub\\b.doc", "C:\\Docs2\\near.doc", "C:\\Doc",
         "E:\\New\\y.doc", "e:\\NEW\\z.doc", kNull, "E:\\Newer\\n.doc"},
        {"C:\\Docs", "C:\\DOCS\\A\\", "C:\\Docs2\\B", "E:\\new", "E:\\New\\C", kNull, ""});
  const TPreflightReport report = MakePreflightReport("C:\\DOCS", "E:\\New", {});
  EXPECT_FALSE(report.NewUnderOld);
  const struct {
    const TTableReport& table;
    int64_t examined;
    TSamples willChange;
    std::vector<std::string> alreadyNew;
  } tables[] = {
      {report.Docs,
       8,
       {{"C:\\Docs\\a.doc", "E:\\New\\a.doc"}, {"c:\\docs\\Sub\\b.doc", "E:\\New\\Sub\\b.doc"}},
       {"E:\\New\\y.doc", "e:\\NEW\\z.doc"}},
      {report.Cards,
       7,
       {{"C:\\Docs", "E:\\New"}, {"C:\\DOCS\\A\\", "E:\\New\\A"}},
       {"E:\\new", "E:\\New\\C"}},
  };
  for (const auto& t : tables) {
    SCOPED_TRACE(t.table.Table);
    EXPECT_EQ(t.table.Examined, t.examined);
    EXPECT_EQ(t.table.WillChange.Count, static_cast<int64_t>(t.willChange.size()));
    EXPECT_EQ(t.table.WillChange.Samples, t.willChange);
    EXPECT_EQ(t.table.AlreadyNew.Count, static_cast<int64_t>(t.alreadyNew.size()));
    std::vector<std::string> alreadyNew;
    for (const auto& sample : t.table.AlreadyNew.Samples) alreadyNew.push_back(sample.first);
    EXPECT_EQ(alreadyNew, t.alreadyNew);
    EXPECT_EQ(t.table.RerunHazard.Count, 0);
    EXPECT_EQ(t.table.TooLong.Count, 0);
    EXPECT_FALSE(t.table.Width);  // the local server enforces none
    EXPECT_EQ(t.table.OldFileMissing.Count + t.table.NewFilePresent.Count, 0);  // not checked
  }
}

TEST_F(PreflightReportTest, ANewFolderUnderTheOldOneIsAHazardForEveryRewrite) {
  Build({"C:\\Docs\\a.doc", "C:\\Docs\\Archive\\old.doc", "D:\\x.doc"},
        {"C:\\Docs\\A", "c:\\docs\\archive"});
  const TPreflightReport report = MakePreflightReport("C:\\Docs", "C:\\Docs\\Archive", {});
  EXPECT_TRUE(report.NewUnderOld);
  EXPECT_EQ(report.Docs.WillChange.Count, 2);
  EXPECT_EQ(report.Docs.RerunHazard.Count, 2);
  EXPECT_EQ(report.Docs.RerunHazard.Samples[0],
            (std::pair<std::string, std::string>{"C:\\Docs\\Archive\\a.doc",
                                                 "C:\\Docs\\Archive\\Archive\\a.doc"}));
  EXPECT_EQ(report.Docs.AlreadyNew.Count, 1);  // a second run would nest it too
  EXPECT_EQ(report.Cards.RerunHazard.Count, 2);
  EXPECT_EQ(report.Cards.RerunHazard.Samples[1].second, "C:\\Docs\\Archive\\Archive\\archive");
}

TEST_F(PreflightReportTest, SamplesStopAtTwentyButCountsGoOn) {
  std::vector<std::string> docs;
  for (int i = 0; i < 25; ++i) docs.push_back("C:\\Docs\\" + std::to_string(i) + ".doc");
  Build(docs, {});
  const TPreflightReport report = MakePreflightReport("C:\\Docs", "E:\\New", {});
  EXPECT_EQ(report.Docs.WillChange.Count, 25);
  ASSERT_EQ(report.Docs.WillChange.Samples.size(), kReportSamples);
  EXPECT_EQ(report.Docs.WillChange.Samples.back().first, "C:\\Docs\\19.doc");
}

TEST_F(PreflightReportTest, TooLongCountsCharactersAgainstTheEnforcedWidth) {
  // Width 16: "E:\New\" is 7 characters, so 9 more fit. Hebrew letters are two bytes each but
  // one character.
  Build({"C:\\Docs\\123456789", "C:\\Docs\\1234567890", "C:\\Docs\\אבגדהוזחט",
         "C:\\Docs\\אבגדהוזחטי", "D:\\far\\too\\long\\but\\not\\ours"},
        {"C:\\Docs\\123456789", "C:\\Docs\\1234567890"}, 16);
  const TPreflightReport report = MakePreflightReport("C:\\Docs", "E:\\New", {});
  EXPECT_EQ(report.Docs.Width, std::optional<size_t>(16));
  EXPECT_EQ(report.Docs.TooLong.Count, 2);
  EXPECT_EQ(report.Docs.TooLong.Samples,
            (TSamples{{"C:\\Docs\\1234567890", "E:\\New\\1234567890"},
                      {"C:\\Docs\\אבגדהוזחטי", "E:\\New\\אבגדהוזחטי"}}));
  // The card pass drops the trailing backslash: "E:\New\123456789" is 16 characters.
  EXPECT_EQ(report.Cards.TooLong.Count, 1);
}

TEST_F(PreflightReportTest, FilesAreLookedForUnderTheRootsWithTheStoredLetterCase) {
  const std::filesystem::path oldRoot = install.Path("mnt/old"), newRoot = install.Path("mnt/new");
  for (const char* folder : {"mnt/old/Sub", "mnt/old/A", "mnt/new/B"})
    std::filesystem::create_directories(install.Path(folder));
  std::ofstream(oldRoot / "a.doc") << "a";
  std::ofstream(oldRoot / "Sub" / "b.doc") << "b";
  std::ofstream(newRoot / "a.doc") << "a";
  Build({"C:\\Docs\\a.doc", "c:\\docs\\Sub\\b.doc", "C:\\Docs\\sub\\b.doc", "C:\\Docs\\gone.doc",
         "D:\\other.doc"},
        {"C:\\Docs\\A", "C:\\Docs\\B\\", "C:\\Docs"});

  const TPreflightReport report =
      MakePreflightReport("C:\\Docs", "E:\\New", {true, oldRoot.string(), newRoot.string() + "/"});
  EXPECT_EQ(report.Docs.OldFileMissing.Samples,
            (TSamples{{"C:\\Docs\\sub\\b.doc", (oldRoot / "sub/b.doc").string()},
                      {"C:\\Docs\\gone.doc", (oldRoot / "gone.doc").string()}}));
  EXPECT_EQ(report.Docs.NewFilePresent.Samples,
            (TSamples{{"C:\\Docs\\a.doc", (newRoot / "a.doc").string()}}));
  // Cards name folders; the old folder itself maps to the root.
  EXPECT_EQ(report.Cards.OldFileMissing.Samples,
            (TSamples{{"C:\\Docs\\B\\", (oldRoot / "B").string()}}));
  EXPECT_EQ(report.Cards.NewFilePresent.Count, 2);  // B, and the new root itself

  const TPreflightReport oldOnly =
      MakePreflightReport("C:\\Docs", "E:\\New", {true, oldRoot.string(), ""});
  EXPECT_EQ(oldOnly.Docs.OldFileMissing.Count, 2);
  EXPECT_EQ(oldOnly.Docs.NewFilePresent.Count, 0);
}

}  // namespace
