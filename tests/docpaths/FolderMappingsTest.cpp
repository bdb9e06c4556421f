// Several old folders in one replace, without a database: which row's rule takes a value, which
// sets of rows are refused, and how a mapping file reads.
#include "docpaths/FolderMappings.h"

#include <gtest/gtest.h>

#include "docpaths/PathRewriteRules.h"

namespace {

const TFolderMappingRows kRows = {
    {"C:\\Docs", "E:\\Docs"},       {"c:\\docs\\scans\\", "E:\\Scans"},
    {"\\\\srv\\Share", "E:\\Docs"},  // an alias of the first, one share
    {"D:\\AAA", "F:\\A"},            // two old folders of the same length
    {"D:\\BBB", "F:\\B"},
};

struct TMatchCase {
  TPathRuleKind Kind;
  const char* Value;
  int Row;  // -1: none
  const char* Rewritten;
};

TEST(TMappingRule, TheLongestMatchingOldFolderRewritesByItsPassRule) {
  const TPathRuleKind doc = TPathRuleKind::DocumentFile, card = TPathRuleKind::CardFolder;
  const TMatchCase cases[] = {
      {doc, "C:\\DOCS\\SCANS\\a.tif", 1, "E:\\Scans\\a.tif"},
      {doc, "c:\\Docs\\b.doc", 0, "E:\\Docs\\b.doc"},
      {doc, "C:\\Docs\\Scans2\\c.doc", 0, "E:\\Docs\\Scans2\\c.doc"},
      {doc, "C:\\Docs2\\d.doc", -1, ""},
      {doc, "C:\\Docs", -1, ""},  // the folder itself names no document
      {doc, "\\\\SRV\\share\\e.doc", 2, "E:\\Docs\\e.doc"},
      {doc, "d:\\bbb\\f.doc", 4, "F:\\B\\f.doc"},
      {doc, "D:\\AAA\\g.doc", 3, "F:\\A\\g.doc"},
      {doc, "D:\\CCC\\h.doc", -1, ""},
      {card, "C:\\DOCS", 0, "E:\\Docs"},
      {card, "C:\\DOCS2", -1, ""},
      {card, "C:\\Docs\\Scans\\", 1, "E:\\Scans"},
      {card, "C:\\Docs\\Scans2", 0, "E:\\Docs\\Scans2"},
      {card, "c:\\docs\\scans\\Smith", 1, "E:\\Scans\\Smith"},
      {card, "D:\\BBB", 4, "F:\\B"},
      {card, "D:\\BBBB", -1, ""},
      {card, "", -1, ""},
  };
  TMappingRule docs(doc, kRows), cards(card, kRows);
  for (const TMatchCase& c : cases) {
    SCOPED_TRACE(c.Value);
    std::string rewritten;
    EXPECT_EQ((c.Kind == doc ? docs : cards).Rewrite(c.Value, rewritten), c.Row);
    if (c.Row >= 0) {
      EXPECT_EQ(rewritten, c.Rewritten);
    }
  }
}

// One row rewrites exactly as the one-folder rules do.
TEST(TMappingRule, OneRowIsTheOneFolderRule) {
  const std::vector<std::string> values = {"C:\\Docs\\a.doc", "c:\\DOCS\\",        "C:\\Docs",
                                           "C:\\Docs2\\x",    "C:\\DOC",           "",
                                           "\\\\srv\\x",      "C:\\Docs\\\\double"};
  for (const auto& [oldPath, newPath] :
       {std::pair{"c:\\docs\\", "E:\\New"}, std::pair{"C:\\Docs", "E:\\New\\"},
        std::pair{"\\", "E:\\Root"}}) {
    TMappingRule docs(TPathRuleKind::DocumentFile, {{oldPath, newPath}});
    TMappingRule cards(TPathRuleKind::CardFolder, {{oldPath, newPath}});
    const TDocPathRule docRule = MakeDocPathRule(oldPath, newPath);
    const TCardFolderRule cardRule = MakeCardFolderRule(oldPath, newPath);
    for (const std::string& value : values) {
      SCOPED_TRACE(std::string(oldPath) + " " + value);
      std::string one, several, folder, rest;
      EXPECT_EQ(RewriteDocPath(docRule, value, one), docs.Rewrite(value, several) == 0);
      if (docs.Rewrite(value, several) == 0) {
        EXPECT_EQ(several, one);
      }
      const bool cardMatch = RewriteCardFolder(cardRule, value, folder, rest, one);
      EXPECT_EQ(cardMatch, cards.Rewrite(value, several) == 0);
      EXPECT_EQ(cards.Folder(), folder);
      EXPECT_EQ(cards.Work(), cardMatch ? rest : folder);
      if (cardMatch) {
        EXPECT_EQ(several, one);
      }
    }
  }
}

struct TConflictCase {
  const char* Name;
  TFolderMappingRows Rows;
  std::optional<TMappingConflict> Conflict;
  bool Hazard;
};

TEST(FindMappingConflict, RefusesAnOldFolderTwiceAndANewFolderAnotherRowWouldTake) {
  using C = TMappingConflict;
  const TConflictCase cases[] = {
      {"Aliases", {{"C:\\Docs", "E:\\New"}, {"\\\\srv\\Docs", "E:\\New"}}, {}, false},
      {"NestedOldFolders", {{"C:\\Docs\\Scans", "E:\\Scans"}, {"C:\\Docs", "E:\\Docs"}}, {}, false},
      {"SameOldOtherCase",
       {{"C:\\Docs", "E:\\A"}, {"c:\\docs\\", "E:\\B"}},
       C{C::SameOld, 0, 1},
       false},
      {"NewIsAnotherOld",
       {{"C:\\A", "C:\\B"}, {"C:\\B", "C:\\C"}},
       C{C::RewrittenAgain, 1, 0},
       false},
      {"Swap", {{"C:\\A", "C:\\B"}, {"C:\\B", "C:\\A"}}, C{C::RewrittenAgain, 1, 0}, false},
      {"NewUnderAnotherOld",
       {{"E:\\Docs", "F:\\Docs"}, {"C:\\Docs", "e:\\docs\\Old"}},
       C{C::RewrittenAgain, 0, 1},
       true},
      {"NewBesideAnotherOld", {{"E:\\Docs", "F:\\Docs"}, {"C:\\Docs", "E:\\Docs2"}}, {}, false},
      {"NewUnderItsOwnOld", {{"C:\\Docs", "C:\\Docs\\Archive"}, {"D:\\X", "E:\\X"}}, {}, true},
      {"AliasesIntoAFolderUnderOne",
       {{"C:\\Docs", "C:\\Docs\\Archive"}, {"D:\\Docs", "c:\\docs\\archive\\"}},
       {},
       true},
  };
  for (const TConflictCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::optional<TMappingConflict> found = FindMappingConflict(c.Rows);
    ASSERT_EQ(found.has_value(), c.Conflict.has_value());
    if (found) {
      EXPECT_EQ(found->Kind, c.Conflict->Kind);
      EXPECT_EQ(found->First, c.Conflict->First);
      EXPECT_EQ(found->Second, c.Conflict->Second);
    }
    EXPECT_EQ(FindNewUnderOld(c.Rows).has_value(), c.Hazard);
  }
}

struct TFileCase {
  const char* Name;
  std::string Text;
  TMappingFile::TFault Fault;
  size_t Line;
  TFolderMappingRows Rows;
};

TEST(ParseMappingFile, ReadsQuotedFieldsAndNamesTheLineOfAFault) {
  using F = TMappingFile;
  const TFileCase cases[] = {
      {"QuotedCommasAndQuotes",
       "\xEF\xBB\xBFOld,NEW\r\n"
       "\"C:\\Docs\\Cohen, Levi\",\"E:\\Clients\\Cohen, Levi\"\r\n"
       "\r\n"
       "C:\\Docs\\Scans,\"E:\\Say \"\"hi\"\"\"\n"
       "\\\\srv\\Docs,E:\\Docs",
       F::None,
       0,
       {{"C:\\Docs\\Cohen, Levi", "E:\\Clients\\Cohen, Levi"},
        {"C:\\Docs\\Scans", "E:\\Say \"hi\""},
        {"\\\\srv\\Docs", "E:\\Docs"}}},
      {"BlanksAreKept", "old,new\n C:\\A ,\" E:\\B \"\n", F::None, 0, {{" C:\\A ", " E:\\B "}}},
      {"Empty", "", F::NoHeader, 1, {}},
      {"NoHeader", "C:\\A,E:\\B\n", F::NoHeader, 1, {}},
      {"HeaderAfterBlankLines", "\n\nold,new,extra\n", F::NoHeader, 3, {}},
      {"OnlyTheHeader", "old,new\r\n\r\n", F::NoRows, 2, {}},
      {"UnclosedQuote", "old,new\nC:\\A,E:\\B\n\"C:\\C,E:\\D\n", F::BadQuotes, 3, {}},
      {"TextAfterTheQuote", "old,new\n\"C:\\A\"x,E:\\B\n", F::BadQuotes, 2, {}},
      {"QuoteInAPlainField", "old,new\nC:\\\"A,E:\\B\n", F::BadQuotes, 2, {}},
      {"ThreeFields", "old,new\nC:\\A,E:\\B\nC:\\C,E:\\D,E:\\E\n", F::FieldCount, 3, {}},
      {"OneField", "old,new\nC:\\A\n", F::FieldCount, 2, {}},
      {"EmptyNew", "old,new\nC:\\A,\n", F::EmptyValue, 2, {}},
      {"BlankOld", "old,new\n  ,E:\\B\n", F::EmptyValue, 2, {}},
      {"NotUtf8", "old,new\nC:\\A,E:\\B\nC:\\\xE9t\xE9,E:\\C\n", F::NotUtf8, 3, {}},
      {"LineCountedInsideQuotes", "old,new\n\"C:\\A\nB\",E:\\B\nC:\\C\n", F::FieldCount, 4, {}},
  };
  for (const TFileCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TMappingFile file = ParseMappingFile(c.Text);
    EXPECT_EQ(file.Fault, c.Fault);
    if (c.Fault != F::None) {
      EXPECT_EQ(file.Line, c.Line);
    }
    EXPECT_EQ(file.Rows, c.Rows);
  }
}

}  // namespace
