#include "common/StrUtils.h"

#include <gtest/gtest.h>

#include "common/FormatSettings.h"

TEST(StrUtils, YesNoTexts) {
  EXPECT_EQ(BoolToYN(true), "Y");
  EXPECT_EQ(BoolToYN(false), "N");
  for (const char* yes : {"y", "Y", "true", "True", "TRUE"}) EXPECT_TRUE(YNToBool(yes)) << yes;
  for (const char* no : {"N", "yes", "1", "", " Y"}) EXPECT_FALSE(YNToBool(no)) << no;
}

TEST(StrUtils, DateOrderFormatFollowsTheShortDateFormat) {
  TFormatSettings& s = FormatSettings();
  const std::string saved = s.ShortDateFormat;
  const std::pair<const char*, const char*> cases[] = {{"dd/MM/yyyy", "ddmmyyyy"},
                                                       {"M/d/yyyy", "mmddyyyy"},
                                                       {"yyyy-mm-dd", "mmddyyyy"},
                                                       {"yyyy.dd.MM", "ddmmyyyy"},
                                                       {"yyyy", ""},
                                                       {"", "ddmmyyyy"},
                                                       {"ggyy/mm", "ddmmyyyy"}};
  for (const auto& [format, code] : cases) {
    s.ShortDateFormat = format;
    EXPECT_EQ(DateOrderFormat(false), code) << format;
    EXPECT_EQ(DateOrderFormat(true), std::string(code) + "-hhmmss") << format;
  }
  s.ShortDateFormat = saved;
}

TEST(StrUtils, SplitOffTakesTheHeadAndKeepsTheRest) {
  std::string text = "a.b.c";
  EXPECT_EQ(SplitOff(text, "."), "a");
  EXPECT_EQ(text, "b.c");
  text = "abc";
  EXPECT_EQ(SplitOff(text, "."), "abc");
  EXPECT_EQ(text, "");
  text = "a::b";
  EXPECT_EQ(SplitOff(text, "::"), "a");
  EXPECT_EQ(text, "b");
  text = "abc";
  EXPECT_EQ(SplitOff(text, ""), "abc");
  EXPECT_EQ(text, "");
}

TEST(StrUtils, ReplaceAllLeftToRightWithoutOverlap) {
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceAll("Path path", "path", "X"), "Path X");  // with case
  EXPECT_EQ(ReplaceAll("abc", "", "X"), "abc");
  EXPECT_EQ(ReplaceAll("a.b", ".", ".."), "a..b");  // the replacement is not searched again
}

TEST(StrUtils, UrlEscapeCollapsesLineBreakRuns) {
  EXPECT_EQ(UrlEscape("a b\r\nc"), "a%20b%20c");
  EXPECT_EQ(UrlEscape("x\r\n\t\r\ny\tz"), "x%20y%20z");
  EXPECT_EQ(UrlEscape("a&b=c/d?e#f%"), "a%26b%3Dc%2Fd%3Fe%23f%25");
  EXPECT_EQ(UrlEscape("\"\\^~[]`{}|<>@$+,:;"),
            "%22%5C%5E%7E%5B%5D%60%7B%7D%7C%3C%3E%40%24%2B%2C%3A%3B");
  EXPECT_EQ(UrlEscape("\xD7\xA9-_.!"), "\xD7\xA9-_.!");  // bytes above 127 pass unchanged
}

TEST(StrUtils, RemoveInvalidFileNameChars) {
  EXPECT_EQ(RemoveInvalidFileNameChars("a\"*/:<>?\\|b c.txt"), "ab c.txt");
}
