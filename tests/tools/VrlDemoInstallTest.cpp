#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/SysUtils.h"
#include "docpaths/DatDocsDBServices.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tools/DemoBatchInsert.h"
#include "tools/DemoInstall.h"

namespace fs = std::filesystem;

namespace {

struct TWindow : TComponent {
  TWindow() : TComponent(nullptr, "ChangePathForDocsFrm") {}
  std::string ClassName() const override { return "TChangePathForDocsFrm"; }
};

// Points the platform at an installation laid out by VrlDemoInstall.
void UseInstallation(const fs::path& root) {
  auto system = std::make_unique<TFakeSystem>();
  system->ProgramFile = system->ModulePath = (root / "Utils" / "VrlChangeDocsPath").string();
  Platform().SetSystem(std::move(system));
  Platform().SetUi(std::make_unique<TFakeUi>());
  Platform().SetEngine(CreateSqliteAceDriver());
  FreeDBConnectionDM();
  LoadSystemFolderDefaults();
}

std::vector<std::string> Column(const fs::path& root, const std::string& table,
                                const std::string& column) {
  return TCrmTestInstall::ColumnIn((root / "DB").string(), table, column);
}

// What a correct replace of oldUpper (upper-cased, no trailing backslash) by newPrefix makes of
// a document path: only paths inside the folder change, and their rest keeps its letter case.
std::string ExpectedDoc(const std::string& value, const std::string& oldUpper,
                        const std::string& newPrefix) {
  std::string head = oldUpper + "\\";
  if (UpperCase(value.substr(0, head.size())) != head) return value;
  return newPrefix + "\\" + value.substr(head.size());
}

}  // namespace

TEST(VrlDemoInstall, LaysOutATreeWhoseDocumentsAndCardsThePassesRewrite) {
  TTempDir temp;
  fs::path programs = temp.Path() / "bin";
  fs::create_directories(programs);
  std::ofstream(programs / "VrlChangeDocsPath") << "program";
  TDemoInstallOptions options;
  options.Root = (temp.Path() / "site" / "CRM").string();
  options.Documents = 3000;
  options.Cards = 120;
  options.ProgramFolder = programs.string();
  std::ostringstream out, err;
  ASSERT_EQ(RunDemoInstall(options, out, err), 0) << err.str();
  fs::path root = options.Root;
  for (const char* file : DemoEngineClientFiles) EXPECT_TRUE(fs::exists(root / "Utils" / file));
  EXPECT_TRUE(fs::exists(root / "Utils" / "ads.ini"));
  EXPECT_TRUE(fs::is_regular_file(root / "Utils" / "VarnelCRM.ini"));
  EXPECT_TRUE(fs::exists(root / "Utils" / "VrlChangeDocsPath"));
  EXPECT_NE(out.str().find("VrlChangeDocsPathCli is not built yet"), std::string::npos);
  for (const char* folder : {"DBSys", "Logs", "LastVer", "Templates", "TmpVarnel"})
    EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
  EXPECT_TRUE(fs::is_directory(temp.Path() / "site" / "Docs"));
  // The all-users documents folder is the stored prefix, so the programs offer it as old path.
  const auto prefs =
      Column(root, "Pref", "USER_ID || '|' || TOKEN || '|' || TOKENTYPE || '|' || VALUE");
  EXPECT_THAT(prefs, ::testing::Contains("-1|DOC_MAIN_FOLDER|A|C:\\VarnelDocs"));
  EXPECT_THAT(prefs, ::testing::Contains(::testing::StartsWith("-2|")));
  EXPECT_THAT(prefs, ::testing::Contains(::testing::StartsWith("dana|DOC_MAIN_FOLDER|")));
  // One user reaches the documents folder under its second spelling, as some documents do.
  EXPECT_THAT(prefs, ::testing::Contains("yossi|DOC_MAIN_FOLDER|A|\\\\fs1\\C$\\VarnelDocs"));

  std::vector<std::string> docs = Column(root, "Docs", "DOCUMENT_NAME");
  std::vector<std::string> cards = Column(root, "Cards", "DOCSFOLDER");
  ASSERT_EQ(docs.size(), 3000u);
  ASSERT_EQ(cards.size(), 120u);
  auto count = [](const std::vector<std::string>& values, const std::string& part) {
    return std::count_if(values.begin(), values.end(),
                         [&](const std::string& v) { return v.find(part) != std::string::npos; });
  };
  EXPECT_GT(count(docs, "\xD7"), 100);  // Hebrew letters
  EXPECT_GT(count(docs, "c:\\varneldocs\\"), 10);
  EXPECT_GT(count(docs, "D:\\Archive\\"), 10);
  EXPECT_GT(count(docs, "\\\\FILESRV01\\Scans\\"), 10);
  EXPECT_GT(count(docs, "\\\\fs1\\C$\\VarnelDocs\\"), 10);
  EXPECT_GT(count(docs, "<NULL>"), 10);
  EXPECT_GT(count(cards, "C:\\VarnelDocs2\\"), 1);
  EXPECT_GT(std::count(cards.begin(), cards.end(), "C:\\VarnelDocs"), 1);

  UseInstallation(root);
  ASSERT_TRUE(MainConnectionIsOpen());
  TWindow window;
  {
    TDatDocsDBServicesDM module(&window);
    EXPECT_TRUE(module.ChangeDocPathInDocs("C:\\VARNELDOCS", "E:\\Shared\\Docs").Completed);
  }
  EXPECT_TRUE(ChangeDocPathInCards(&window, "C:\\VARNELDOCS", "E:\\Shared\\Docs").Completed);
  FreeDBConnectionDM();

  std::vector<std::string> newDocs = Column(root, "Docs", "DOCUMENT_NAME");
  for (size_t i = 0; i < docs.size(); ++i)
    ASSERT_EQ(newDocs[i], ExpectedDoc(docs[i], "C:\\VARNELDOCS", "E:\\Shared\\Docs")) << i;
  std::vector<std::string> newCards = Column(root, "Cards", "DOCSFOLDER");
  for (size_t i = 0; i < cards.size(); ++i) {
    const std::string& was = cards[i];
    std::string folder = !was.empty() && was.back() == '\\' ? was.substr(0, was.size() - 1) : was;
    bool inside = UpperCase(folder) == "C:\\VARNELDOCS" ||
                  UpperCase(folder.substr(0, 14)) == "C:\\VARNELDOCS\\";
    std::string expected = inside ? "E:\\Shared\\Docs" + folder.substr(13) : was;
    ASSERT_EQ(newCards[i], expected) << i << " " << was;
  }
  ResetProgramUnits();
}

// The rows go in many to a statement as literals: a quote, backslashes, an empty value and NULL
// come back as they were, across statements.
TEST(DemoBatchInsert, ValuesComeBackAsTheyWereAcrossStatements) {
  TTempDir temp;
  CreateSqliteDatabase(temp.Path().string(), "CREATE TABLE T (N INTEGER, V VARCHAR(50));");
  auto db = CreateSqliteAceDriver()->Connect(temp.Path().string(), TAdsServerType::stADS_LOCAL);
  const std::vector<std::optional<std::string>> values = {"it's",       "C:\\a\\b\\", "",
                                                          std::nullopt, "''",         "חוזה"};
  const size_t rows = TDemoBatchInsert::kRowsPerStatement + 3;
  TDemoBatchInsert insert(*db, "T", {"N", "V"});
  for (size_t i = 0; i < rows; ++i) insert.Add({std::to_string(i), values[i % values.size()]});
  insert.Flush();
  auto query = db->OpenQuery("SELECT N, V, V IS NULL FROM T ORDER BY rowid", {});
  size_t i = 0;
  for (; !query->Eof(); query->Next(), ++i) {
    const std::optional<std::string>& expected = values[i % values.size()];
    EXPECT_EQ(query->FieldText(0), std::to_string(i));
    EXPECT_EQ(query->FieldText(2), expected ? "0" : "1") << i;
    if (expected) {
      EXPECT_EQ(query->FieldText(1), *expected) << i;
    }
  }
  EXPECT_EQ(i, rows);
}

TEST(VrlDemoInstall, RefusesANonEmptyFolderWithoutChangingIt) {
  TTempDir temp;
  fs::path root = temp.Path() / "CRM";
  fs::create_directories(root);
  std::ofstream(root / "notes.txt") << "keep me";
  TDemoInstallOptions options;
  options.Root = root.string();
  std::ostringstream out, err;
  EXPECT_EQ(RunDemoInstall(options, out, err), 1);
  EXPECT_NE(err.str().find("not an empty folder"), std::string::npos);
  EXPECT_NE(err.str().find("Nothing was changed"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1);
}

TEST(VrlDemoInstall, TheProgramLaysOutTheEmptySchema) {
  TTempDir temp;
  fs::path root = temp.Path() / "CRM";
  std::string command = std::string(VRL_BINARY_DIR) + "/bin/VrlDemoInstall --root '" +
                        root.string() + "' --documents 0 --cards 0 > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_TRUE(Column(root, "Docs", "RECID").empty());
  EXPECT_TRUE(Column(root, "Cards", "RECID").empty());
  EXPECT_THAT(Column(root, "Pref", "TOKEN"), ::testing::Contains("DOC_MAIN_FOLDER"));
  EXPECT_NE(std::system(command.c_str()), 0);  // the second time the folder is not empty
}

TEST(VrlDemoInstall, CountsOutsideZeroToAHundredMillionAreAUsageError) {
  struct TCase {
    const char* option;
    const char* text;
  };
  const TCase refused[] = {{"--documents", "99999999999999999999"},
                           {"--documents", "-5"},
                           {"--cards", "100000001"},
                           {"--cards", "1e3"},
                           {"--documents", " 7"}};
  for (const TCase& c : refused) {
    TTempDir temp;
    const fs::path root = temp.Path() / "CRM";
    const TProgramRun run =
        RunProgram(BuiltProgram("VrlDemoInstall"), {"--root", root.string(), c.option, c.text});
    EXPECT_EQ(run.ExitCode, 64) << c.option << " " << c.text << "\n" << run.Err;
    // A short usage message: what is wrong, then how the program is used.
    EXPECT_EQ(
        run.Err.rfind(
            std::string(c.option) + ": \"" + c.text + "\" is not a count from 0 to 100000000\n", 0),
        0u)
        << run.Err;
    EXPECT_NE(run.Err.find("--documents"), std::string::npos);
    EXPECT_LT(run.Err.size(), 2000u);
    EXPECT_FALSE(fs::exists(root));
  }

  int64_t count = -1;
  EXPECT_TRUE(ParseDemoCount("100000000", count));
  EXPECT_EQ(count, MaxDemoCount);
  EXPECT_TRUE(ParseDemoCount("0", count));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(ParseDemoCount("000000042", count));
  EXPECT_EQ(count, 42);
  EXPECT_FALSE(ParseDemoCount("", count));
  EXPECT_EQ(count, 42);  // untouched by a refused text
}
