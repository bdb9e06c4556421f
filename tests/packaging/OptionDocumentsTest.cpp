// The console program's manual page and bash completion (packaging/) list every long option its
// --help prints: an option added to the program and forgotten there fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/RunProgram.h"

namespace {

std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(VRL_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The long options --help lists: each begins a line two blanks in ("  --old TEXT ...",
// "  -h,--help ..."); the lines that explain them are indented further.
std::set<std::string> HelpOptions() {
  const TProgramRun run = RunProgram(BuiltProgram("VrlChangeDocsPathCli"), {"--help"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  const std::regex option(R"(^  (?:-\w,)?(--[a-z][a-z0-9-]*))");
  std::set<std::string> options;
  std::smatch match;
  for (const std::string& line : Lines(run.Out))
    if (std::regex_search(line, match, option)) options.insert(match[1]);
  return options;
}

// The options written in text, minus signs spelt as the document spells them ("-" or roff's
// "\-"), given back with plain minus signs.
std::set<std::string> OptionsIn(const std::string& text, const std::string& minus) {
  const std::string escaped = std::regex_replace(minus, std::regex(R"(\\)"), R"(\\)");
  const std::regex option(escaped + escaped + "[a-z](?:[a-z0-9]|" + escaped + ")*");
  std::set<std::string> options;
  for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
    std::string found = it->str();
    for (size_t at = 0; (at = found.find(minus, at)) != std::string::npos; ++at)
      found.replace(at, minus.size(), "-");
    options.insert(found);
  }
  return options;
}

// The manual page's option items: the line after each ".TP" names the option it explains.
std::set<std::string> ManualPageOptions(const std::string& text) {
  const std::vector<std::string> lines = Lines(text);
  std::string tags;
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i] == ".TP") tags += lines[i + 1] + "\n";
  return OptionsIn(tags, "\\-");
}

// The completion's list of options offered: the words of options='...'.
std::set<std::string> CompletionOptions(const std::string& text) {
  std::smatch list;
  if (!std::regex_search(text, list, std::regex("options='([^']*)'"))) return {};
  return OptionsIn(list[1], "-");
}

struct TOptionDocument {
  const char* Name;  // the test's name
  const char* File;  // in the source folder
  std::set<std::string> (*Options)(const std::string& text);
};

const TOptionDocument kOptionDocuments[] = {
    {"ManualPage", "packaging/vrlchangedocspath-cli.1", ManualPageOptions},
    {"BashCompletion", "packaging/vrlchangedocspath-cli.bash-completion", CompletionOptions},
};

// Names the document in the test's output.
void PrintTo(const TOptionDocument& document, std::ostream* out) {
  *out << document.File;
}

class OptionDocuments : public testing::TestWithParam<TOptionDocument> {};

TEST_P(OptionDocuments, ListEveryOptionOfHelp) {
  const TOptionDocument& document = GetParam();
  const std::set<std::string> help = HelpOptions();
  // The reading of --help itself: it must find the options every version has.
  ASSERT_TRUE(help.count("--new") && help.count("--help") && help.count("--old-root"));
  const std::set<std::string> documented = document.Options(ReadSource(document.File));
  for (const std::string& option : help)
    EXPECT_TRUE(documented.count(option)) << option << " is missing from " << document.File;
}

INSTANTIATE_TEST_SUITE_P(Packaging, OptionDocuments, testing::ValuesIn(kOptionDocuments),
                         [](const testing::TestParamInfo<TOptionDocument>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
