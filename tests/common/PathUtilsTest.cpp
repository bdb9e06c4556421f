#include "common/PathUtils.h"

#include <gtest/gtest.h>

TEST(PathUtils, StoredPathsAlwaysUseBackslash) {
  EXPECT_EQ(AddTrailingBackslash("C:\\Docs"), "C:\\Docs\\");
  EXPECT_EQ(AddTrailingBackslash("C:\\Docs\\"), "C:\\Docs\\");
  EXPECT_EQ(AddTrailingBackslash(""), "");
  EXPECT_EQ(RemoveTrailingBackslash("C:\\Docs\\\\"), "C:\\Docs\\");
  EXPECT_EQ(RemoveTrailingBackslash(""), "");
}

TEST(PathUtils, ParentFolderCutsAtTheLastSeparator) {
  EXPECT_EQ(ParentFolder("/a/b/"), "/a");
  EXPECT_EQ(ParentFolder("/a/b"), "/a");
  EXPECT_EQ(ParentFolder("name"), "name");
  EXPECT_EQ(ParentFolder("name/"), "name");
  EXPECT_EQ(ParentFolder("/"), "");
}

TEST(PathUtils, JoinPathAddsOneSeparator) {
  EXPECT_EQ(JoinPath("/a", "x.txt"), "/a/x.txt");
  EXPECT_EQ(JoinPath("/a/", "x.txt"), "/a/x.txt");
  EXPECT_EQ(JoinPath("", "x.txt"), "x.txt");
}
