#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CrmTestInstall.h"
#include "ui/FieldsExtractor.h"

namespace {

struct TLineCase {
  const char* what;
  std::string line;
  std::vector<std::string> fields;
};

// The fields of one line, numbered as the extractor numbered them.
std::vector<std::string> Fields(TFieldsExtractor& extractor, const std::string& line) {
  std::vector<std::string> fields;
  extractor.OnField = [&](TFieldsExtractor& sender, int fieldNo, const std::string& text) {
    EXPECT_EQ(&sender, &extractor);
    EXPECT_EQ(fieldNo, static_cast<int>(fields.size()) + 1);
    fields.push_back(text);
  };
  extractor.ExtractFieldsFromRec(line);
  return fields;
}

}  // namespace

TEST(FieldsExtractor, SplitsQuotedFieldsByTheClosingQuoteRule) {
  const std::vector<TLineCase> cases = {
      {"plain fields", R"("a","b","c")", {"a", "b", "c"}},
      {"a quote inside a value", R"("a", "x"y", "c")", {"a", "x\"y", "c"}},
      {"text outside quotes is skipped", R"(abc, "x")", {"x"}},
      {"an unclosed last quote", R"("a", "b)", {"a"}},
      {"an unclosed only quote", R"(")", {}},
      {"an empty line", "", {}},
      {"a blank line", " \t\r\n", {}},
      {"empty values are fields", R"("","",  "")", {"", "", ""}},
      {"blanks around the line and separators", "  \t\"a\" ,\t \"b\"  \r\n", {"a", "b"}},
      {"blanks inside values stay", R"(" a ", "b ")", {" a ", "b "}},
      {"a separator inside a value", R"("a,b", "c")", {"a,b", "c"}},
      {"quote and separator followed by text", R"("a",b", "c")", {"a\",b", "c"}},
      {"a trailing separator closes", R"("a",)", {"a"}},
      {"a quote before the end of line", R"("a"")", {"a\""}},
      {"Hebrew text passes unchanged", "\"שלום\",\"עולם\"", {"שלום", "עולם"}},
      {"unquoted text between fields", R"("a", junk "b")", {"a\", junk \"b"}},
  };
  TFieldsExtractor extractor;
  for (const auto& c : cases) EXPECT_EQ(Fields(extractor, c.line), c.fields) << c.what;
}

TEST(FieldsExtractor, TakesOtherDelimitersAndSetDelimitersClearsTheHandler) {
  TFieldsExtractor extractor;
  extractor.OnField = [](TFieldsExtractor&, int, const std::string&) {};
  extractor.SetDelimiters("'", ";");
  EXPECT_FALSE(extractor.OnField);
  EXPECT_EQ(Fields(extractor, R"('a;b'; 'c', 'd')"), (std::vector<std::string>{"a;b", "c', 'd"}));
}

TEST(FieldsExtractor, WithoutAHandlerEachFieldIsLogged) {
  TCrmTestInstall install;
  TFieldsExtractor extractor;
  extractor.SetDelimiters("\"", ",");
  extractor.ExtractFieldsFromRec(R"("first", "second")");
  const std::string log = install.LogText();
  EXPECT_NE(log.find("TFieldsExtractor.ExtractFieldsFromRec"), std::string::npos) << log;
  EXPECT_NE(log.find("Value  first Leek !!!"), std::string::npos) << log;
  EXPECT_NE(log.find("Value  second Leek !!!"), std::string::npos) << log;
}
