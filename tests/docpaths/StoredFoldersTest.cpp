// The leading folders of stored values: how a path is cut at a depth, what is no absolute path,
// and how a tally groups spellings.
#include "docpaths/StoredFolders.h"

#include <gtest/gtest.h>

namespace {

struct TCut {
  const char* Value;
  int Depth;
  TStoredValue What;
  TStoredKind Kind;
  const char* Folder;  // for a Folder
};

TEST(StoredFolders, APathIsCutAfterItsFirstLevelsTheRootCountingAsOne) {
  const auto F = TStoredValue::File, D = TStoredValue::Folder, P = TStoredValue::Preference;
  const TCut cuts[] = {
      {"C:\\VarnelDocs\\Smith\\a.doc", 2, F, TStoredKind::Folder, "C:\\VarnelDocs"},
      {"C:\\VarnelDocs\\Smith\\a.doc", 1, F, TStoredKind::Folder, "C:\\"},
      {"C:\\VarnelDocs\\Smith\\a.doc", 3, F, TStoredKind::Folder, "C:\\VarnelDocs\\Smith"},
      // A document's file is never a folder; a card's last part is.
      {"C:\\VarnelDocs\\Smith\\a.doc", 8, F, TStoredKind::Folder, "C:\\VarnelDocs\\Smith"},
      {"C:\\a.doc", 2, F, TStoredKind::Folder, "C:\\"},
      {"C:\\VarnelDocs\\Smith", 8, D, TStoredKind::Folder, "C:\\VarnelDocs\\Smith"},
      {"C:\\VarnelDocs\\", 2, D, TStoredKind::Folder, "C:\\VarnelDocs"},
      // A trailing separator is no level of its own.
      {"C:\\VarnelDocs\\", 3, D, TStoredKind::Folder, "C:\\VarnelDocs"},
      {"C:\\VarnelDocs\\Smith\\", 8, D, TStoredKind::Folder, "C:\\VarnelDocs\\Smith"},
      {"\\\\fs1\\Docs\\", 2, D, TStoredKind::Folder, "\\\\fs1\\Docs"},
      {"\\\\fs1\\", 2, D, TStoredKind::Folder, "\\\\fs1"},
      {"\\\\", 2, D, TStoredKind::Relative, ""},
      {"C:\\", 2, D, TStoredKind::Folder, "C:\\"},
      {"c:/Docs/a.doc", 2, F, TStoredKind::Folder, "c:/Docs"},
      {"C:\\\\Docs\\a.doc", 2, F, TStoredKind::Folder, "C:\\\\Docs"},  // an empty part
      {"\\\\fs1\\Docs\\Scans\\x.tif", 2, F, TStoredKind::Folder, "\\\\fs1\\Docs\\Scans"},
      {"\\\\fs1\\Docs\\Scans\\x.tif", 1, F, TStoredKind::Folder, "\\\\fs1\\Docs"},
      {"\\\\fs1\\Docs\\x.tif", 2, F, TStoredKind::Folder, "\\\\fs1\\Docs"},
      {"\\\\fs1\\Docs", 2, D, TStoredKind::Folder, "\\\\fs1\\Docs"},
      {"\\\\fs1", 2, D, TStoredKind::Folder, "\\\\fs1"},
      {"\\\\fs1\\x.doc", 2, F, TStoredKind::Folder, "\\\\fs1"},
      {"\\\\10.0.0.5\\Docs\\A\\B", 2, D, TStoredKind::Folder, "\\\\10.0.0.5\\Docs\\A"},
      {"", 2, F, TStoredKind::Empty, ""},
      {"   ", 2, D, TStoredKind::Empty, ""},
      {"https://dms.example/doc/1", 2, F, TStoredKind::Url, ""},
      {"file:///C:/Docs/a.doc", 2, F, TStoredKind::Url, ""},
      {"Docs\\a.doc", 2, F, TStoredKind::Relative, ""},
      {"C:Docs\\a.doc", 2, F, TStoredKind::Relative, ""},
      {"\\Docs\\a.doc", 2, F, TStoredKind::Relative, ""},
      {"\\\\\\x", 2, D, TStoredKind::Relative, ""},
      {"a.doc", 2, F, TStoredKind::Relative, ""},
      {"Y", 2, P, TStoredKind::NoPath, ""},
      {"dd/mm/yyyy", 2, P, TStoredKind::Relative, ""},
      {"S:\\Templates\\Letter.dot", 2, P, TStoredKind::Folder, "S:\\Templates"},
  };
  for (const TCut& cut : cuts) {
    size_t length = 0;
    const std::string value = cut.Value;
    EXPECT_EQ(LeadingFolder(value, cut.Depth, cut.What, length), cut.Kind) << value;
    if (cut.Kind == TStoredKind::Folder) {
      EXPECT_EQ(value.substr(0, length), cut.Folder) << value;
    }
  }
}

TEST(StoredFolders, ATallyGroupsLetterCaseShowsTheCommonestSpellingAndCountsKindsApart) {
  TFolderTally tally(2, TStoredValue::File);
  for (const char* value :
       {"C:\\VarnelDocs\\a", "c:\\varneldocs\\b", "C:\\VARNELDOCS\\c", "c:\\varneldocs\\d",
        "\\\\fs1\\Docs\\Scans\\e", "\\\\FS1\\Docs\\Scans\\f", "C:/VarnelDocs/g", "", "x.doc",
        "http://h/i"})
    tally.Add(value);
  const std::vector<TFolderCount> folders = tally.Folders();
  ASSERT_EQ(folders.size(), 3u);
  EXPECT_EQ(folders[0].Folder, "c:\\varneldocs");  // two of four spellings
  EXPECT_EQ(folders[0].Count, 4);
  // Two each way: the first in text order.
  EXPECT_EQ(folders[1].Folder, "\\\\FS1\\Docs\\Scans");
  EXPECT_EQ(folders[1].Count, 2);
  EXPECT_EQ(folders[2].Folder, "C:/VarnelDocs");
  EXPECT_EQ(tally.Folders(1).size(), 1u);
  EXPECT_EQ(tally.Count(TStoredKind::Folder), 7);
  EXPECT_EQ(tally.Count(TStoredKind::Empty), 1);
  EXPECT_EQ(tally.Count(TStoredKind::Relative), 1);
  EXPECT_EQ(tally.Count(TStoredKind::Url), 1);
  EXPECT_EQ(tally.Total(), 10);
}

TEST(StoredFolders, NeighboursInOneFolderCountOnceEachAndACopyCountsOnItsOwn) {
  TFolderTally tally(2, TStoredValue::Folder);
  for (const char* value : {"C:\\Docs\\a", "C:\\Docs\\b", "c:\\docs\\c", "C:\\Docs\\d",
                            "C:\\Docs\\e", "D:\\x", "C:\\Docs\\f"})
    tally.Add(value);
  TFolderTally copy = tally;
  copy.Add("C:\\Docs\\g");  // the folder the original added last
  for (int i = 0; i < 6; ++i) copy.Add("c:\\docs\\h");
  tally.Add("C:\\Docs\\k");
  using TList = std::vector<std::pair<std::string, int64_t>>;
  const auto list = [](const TFolderTally& t) {
    TList folders;
    for (const TFolderCount& folder : t.Folders())
      folders.emplace_back(folder.Folder, folder.Count);
    return folders;
  };
  EXPECT_EQ(list(tally), (TList{{"C:\\Docs", 7}, {"D:\\x", 1}}));
  EXPECT_EQ(list(copy), (TList{{"c:\\docs", 13}, {"D:\\x", 1}}));  // 7 of 13 spelt so
}

}  // namespace
