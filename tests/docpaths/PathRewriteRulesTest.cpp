#include "docpaths/PathRewriteRules.h"

#include <gtest/gtest.h>

namespace {
std::string Doc(const std::string& oldPath, const std::string& newPath, const std::string& value) {
  std::string result;
  return RewriteDocPath(MakeDocPathRule(oldPath, newPath), value, result) ? result : "-";
}
std::string Card(const std::string& oldPath, const std::string& newPath, const std::string& value) {
  std::string folder, rest, result;
  return RewriteCardFolder(MakeCardFolderRule(oldPath, newPath), value, folder, rest, result)
             ? result
             : "-";
}
}  // namespace

TEST(PathRewriteRules, DocumentPathsKeepTheirStoredLetterCaseInsideTheFolderOnly) {
  EXPECT_EQ(Doc("c:\\docs", "E:\\Shared\\Docs", "C:\\Docs\\Smith\\Letter.doc"),
            "E:\\Shared\\Docs\\Smith\\Letter.doc");
  EXPECT_EQ(Doc("C:\\DOCS\\", "E:\\New\\", "c:\\docs\\a.doc"), "E:\\New\\a.doc");
  EXPECT_EQ(Doc("C:\\DOCS", "E:\\New", "C:\\DOCS2\\a.doc"), "-");
  EXPECT_EQ(Doc("C:\\DOCS", "E:\\New", "C:\\DOCS"), "-");     // the folder itself
  EXPECT_EQ(Doc("DOCS", "E:\\New", "C:\\DOCS\\a.doc"), "-");  // only at the first character
  EXPECT_EQ(Doc("", "E:\\New", "C:\\DOCS\\a.doc"), "-");
  EXPECT_EQ(Doc("C:\\DOCS", "E:\\New", ""), "-");
  EXPECT_EQ(Doc("C:\\מסמכים", " \\\\srv\\חדש ", "C:\\מסמכים\\חוזה.docx"),
            " \\\\srv\\חדש \\חוזה.docx");
}

TEST(PathRewriteRules, CardFoldersMatchOnlyAtAFolderBoundaryAndLoseTheTrailingBackslash) {
  EXPECT_EQ(Card("C:\\DOCS", "E:\\Shared\\Docs\\", "C:\\Docs\\Smith\\"), "E:\\Shared\\Docs\\Smith");
  EXPECT_EQ(Card("C:\\DOCS", "E:\\New", "C:\\DOCS2\\Jones"), "-");
  EXPECT_EQ(Card("C:\\DOCS\\", "E:\\New\\", "C:\\DOCS"), "E:\\New");
  EXPECT_EQ(Card("C:\\DOCS", "E:\\New", "c:\\docs\\"), "E:\\New");
  EXPECT_EQ(Card("", "E:\\New", "C:\\DOCS"), "-");
  EXPECT_EQ(Card("\\", "E:\\New", "\\x"), "-");  // the old path empties to nothing
  EXPECT_EQ(Card("C:\\DOCS", "E:\\New", ""), "-");
  EXPECT_EQ(Card("C:\\DOCS", "E:\\New", "D:\\C:\\DOCS"), "-");

  std::string folder, rest, result;
  TCardFolderRule rule = MakeCardFolderRule("C:\\DOCS", "E:\\New");
  EXPECT_FALSE(RewriteCardFolder(rule, "D:\\Other\\", folder, rest, result));
  EXPECT_EQ(folder, "D:\\Other");
  EXPECT_TRUE(RewriteCardFolder(rule, "C:\\Docs\\Levi\\", folder, rest, result));
  EXPECT_EQ(folder, "C:\\Docs\\Levi");
  EXPECT_EQ(rest, "\\Levi");
}
