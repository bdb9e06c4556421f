// The installation named to the console program (--installation, VRL_INSTALLATION): worked on
// wherever the program lies, and refused, with nothing written, when it is none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "common/Format.h"
#include "common/StrTable.h"
#include "tests/app/console/ConsoleRun.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/DemoInstallation.h"
#include "tests/support/RunProgram.h"

namespace fs = std::filesystem;

namespace {

// Every file and folder under root, a file with its size and the hash of its contents: equal
// texts mean nothing was written.
std::string TreeSnapshot(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string path = entry.path().lexically_relative(root).string();
    if (entry.is_symlink()) {
      entries[path] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      const std::string bytes = TCrmTestInstall::ReadBytes(entry.path().string());
      entries[path] = std::to_string(bytes.size()) + " bytes, hash " +
                      std::to_string(std::hash<std::string>{}(bytes));
    } else {
      entries[path] = "folder";
    }
  }
  std::string text;
  for (const auto& [path, contents] : entries) text += path + ": " + contents + "\n";
  return text;
}

std::string CliLog(const fs::path& root) {
  return TCrmTestInstall::ReadBytes((root / "Logs" / "UserLog_VrlChangeDocsPathCli.TXT").string());
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The console program run in this process on its test installation, the program itself in a
// folder of its own elsewhere (no engine client files there, no installation around it).
class NamedInstallationTest : public ::testing::Test {
 protected:
  NamedInstallationTest() {
    std::ofstream(install_.Path("Utils/VarnelCRM.ini")) << "[DATABASE]\n";
    fs::create_directories(elsewhere_.Path() / "bin");
    install_.System->ProgramFile = install_.System->ModulePath =
        (elsewhere_.Path() / "bin" / "VrlChangeDocsPathCli").string();
    install_.Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
  }
  TConsoleRun Replace(std::vector<std::string> installation) {
    installation.insert(installation.end(), {"--old", "C:\\Docs", "--new", "E:\\New", "--yes"});
    return RunConsole(installation);
  }

  TAppTestInstallation install_{"VrlChangeDocsPathCli"};
  TTempDir elsewhere_;
};

TEST_F(NamedInstallationTest, TheNamedInstallationIsWorkedOnWhereverTheProgramLies) {
  const fs::path root = install_.Root();
  const fs::path link = elsewhere_.Path() / "mounted";
  fs::create_directory_symlink(root, link);
  int runs = 0;
  for (const std::string& spelled :
       {root.string(), root.string() + "/", root.lexically_relative(fs::current_path()).string(),
        link.string()}) {
    SCOPED_TRACE(spelled);
    install_.Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
    const TConsoleRun run = Replace({"--installation", spelled});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(install_.DocumentNames(), std::vector<std::string>{"E:\\New\\a.doc"});
    EXPECT_EQ(install_.CardFolders(), std::vector<std::string>{"E:\\New\\A"});
    EXPECT_EQ(Count(CliLog(root), "\r\nProc_Name=Change Docs Path\r\n"), ++runs);
  }
  // Nothing went beside the program; the link still names the installation.
  EXPECT_EQ(TreeSnapshot(elsewhere_.Path()), "bin: folder\nmounted: -> " + root.string() + "\n");

  // Without it the program looks for its installation around itself, and finds none.
  install_.Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
  const TConsoleRun own = Replace({});
  EXPECT_EQ(own.Code, 2);
  EXPECT_NE(own.Err.find("Missing Files:"), std::string::npos) << own.Err;
  EXPECT_EQ(install_.DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});

  // Where the package puts it, it says how to name one instead, and makes no folder there.
  const fs::path packaged = elsewhere_.Path() / "usr" / "lib" / "vrlchangedocspath";
  fs::create_directories(packaged);
  install_.System->ProgramFile = install_.System->ModulePath =
      (packaged / "VrlChangeDocsPathCli").string();
  const TConsoleRun fromPackage = Replace({});
  EXPECT_EQ(fromPackage.Code, 2);
  EXPECT_EQ(fromPackage.Err, Format(LoadStr(sInstallationNotNamed),
                                    {packaged.string(), std::string("VRL_INSTALLATION")}) +
                                 "\n");
  EXPECT_EQ(TreeSnapshot(elsewhere_.Path() / "usr"),
            "lib: folder\nlib/vrlchangedocspath: folder\n");
  EXPECT_EQ(install_.DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
  // A VarnelCRM.ini put there names the installation, as beside any program: the start-up goes
  // on to its own checks (and finds no engine client files there).
  std::ofstream(packaged / "VarnelCRM.ini") << "[DATABASE]\nPath=" << install_.Path("DB") << "\n";
  const TConsoleRun withIni = Replace({});
  EXPECT_NE(withIni.Err.find("Missing Files:"), std::string::npos) << withIni.Err;
}

TEST_F(NamedInstallationTest, EachPartAnInstallationLacksIsNamedAndNothingIsWritten) {
  const fs::path candidate = elsewhere_.Path() / "CRM";
  const std::string shown = candidate.string();
  const std::string incomplete = LoadStr(sInstallationIncomplete);
  // What is put in the place of the last part removed.
  enum class TInPlace { Nothing, Folder, File, LinkToNothing };
  struct TCase {
    const char* Name;
    std::vector<std::string> Removed;  // "": the candidate itself
    TInPlace InPlace;
    std::string Message;
  };
  const std::vector<TCase> cases = {
      {"no DB", {"DB"}, TInPlace::Nothing, Format(incomplete, {shown, "DB"})},
      {"no DBSys", {"DBSys"}, TInPlace::Nothing, Format(incomplete, {shown, "DBSys"})},
      {"no Logs", {"Logs"}, TInPlace::Nothing, Format(incomplete, {shown, "Logs"})},
      {"no Utils", {"Utils"}, TInPlace::Nothing, Format(incomplete, {shown, "Utils"})},
      {"no VarnelCRM.ini",
       {"Utils/VarnelCRM.ini"},
       TInPlace::Nothing,
       Format(incomplete, {shown, "Utils/VarnelCRM.ini"})},
      {"a folder for VarnelCRM.ini",
       {"Utils/VarnelCRM.ini"},
       TInPlace::Folder,
       Format(incomplete, {shown, "Utils/VarnelCRM.ini"})},
      {"a file for DBSys", {"DBSys"}, TInPlace::File, Format(incomplete, {shown, "DBSys"})},
      {"no DB, no Logs",
       {"DB", "Logs"},
       TInPlace::Nothing,
       Format(incomplete, {shown, "DB, Logs"})},
      {"nothing", {""}, TInPlace::Nothing, Format(LoadStr(sInstallationMissing), {shown})},
      {"a file", {""}, TInPlace::File, Format(LoadStr(sInstallationNotAFolder), {shown})},
      {"a link to nothing",
       {""},
       TInPlace::LinkToNothing,
       Format(LoadStr(sInstallationMissing), {shown})},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove_all(candidate);
    for (const char* folder : {"DB", "DBSys", "Logs", "Utils"})
      fs::create_directories(candidate / folder);
    for (const char* file : EngineClientFiles)
      std::ofstream(candidate / "Utils" / file) << "engine";
    std::ofstream(candidate / "Utils/VarnelCRM.ini") << "[DATABASE]\n";
    fs::path part;
    for (const std::string& name : c.Removed) {
      part = name.empty() ? candidate : candidate / name;
      fs::remove_all(part);
    }
    if (c.InPlace == TInPlace::Folder) fs::create_directory(part);
    if (c.InPlace == TInPlace::File) std::ofstream(part) << "not a folder";
    if (c.InPlace == TInPlace::LinkToNothing) fs::create_symlink(elsewhere_.Path() / "gone", part);
    const std::string before = TreeSnapshot(elsewhere_.Path());
    const std::string installation = TreeSnapshot(install_.Root());

    const TConsoleRun run = Replace({"--installation", shown + "/"});
    EXPECT_EQ(run.Code, 2);
    EXPECT_EQ(run.Err, c.Message + "\n");
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(TreeSnapshot(elsewhere_.Path()), before);
    EXPECT_EQ(TreeSnapshot(install_.Root()), installation);
  }
}

TEST_F(NamedInstallationTest, TheVariableNamesTheInstallationUnlessTheOptionDoes) {
  const std::string root = install_.Root();
  const std::string gone = (elsewhere_.Path() / "gone").string();
  std::map<std::string, std::string>& environment = install_.System->Environment;

  environment["VRL_INSTALLATION"] = root;
  EXPECT_EQ(Replace({}).Code, 0);
  EXPECT_EQ(install_.DocumentNames(), std::vector<std::string>{"E:\\New\\a.doc"});

  // The option wins over the variable, whichever names no installation.
  install_.Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
  environment["VRL_INSTALLATION"] = gone;
  EXPECT_EQ(Replace({"--installation", root}).Code, 0);
  EXPECT_EQ(install_.DocumentNames(), std::vector<std::string>{"E:\\New\\a.doc"});

  install_.Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
  environment["VRL_INSTALLATION"] = root;
  const TConsoleRun optionRefused = Replace({"--installation", gone});
  EXPECT_EQ(optionRefused.Code, 2);
  EXPECT_EQ(optionRefused.Err, Format(LoadStr(sInstallationMissing), {gone}) + "\n");

  // A refused variable says where the folder came from.
  environment["VRL_INSTALLATION"] = gone;
  const TConsoleRun variableRefused = Replace({});
  EXPECT_EQ(variableRefused.Code, 2);
  EXPECT_EQ(variableRefused.Err,
            Format(LoadStr(sInstallationFromVariable),
                   {Format(LoadStr(sInstallationMissing), {gone}), "VRL_INSTALLATION"}) +
                "\n");
  EXPECT_EQ(install_.DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});

  // An empty variable names none: the program's own folder is used (and has no engine client).
  environment["VRL_INSTALLATION"] = "";
  const TConsoleRun own = Replace({});
  EXPECT_EQ(own.Code, 2);
  EXPECT_NE(own.Err.find("Missing Files:"), std::string::npos) << own.Err;
}

// The built console program, copied to a folder of its own, on a demo installation that holds
// no copy of it.
class NamedInstallationEndToEnd : public ::testing::Test {
 protected:
  NamedInstallationEndToEnd() {
    fs::create_directories(elsewhere_.Path() / "bin");
    fs::copy_file(BuiltProgram("VrlChangeDocsPathCli"), program_);
    fs::remove(demo_.Utils() / "VrlChangeDocsPathCli");
    programOnly_ = TreeSnapshot(elsewhere_.Path());
  }
  ~NamedInstallationEndToEnd() override { unsetenv("VRL_INSTALLATION"); }

  TDemoInstallation demo_{{"--documents", "30", "--cards", "5"}};
  TTempDir elsewhere_;
  std::string program_ = (elsewhere_.Path() / "bin" / "VrlChangeDocsPathCli").string();
  std::string programOnly_;  // what the program's folder holds before it runs
};

TEST_F(NamedInstallationEndToEnd, ReplacesInTheNamedInstallationAndLogsIntoItsLogs) {
  const std::string relative = demo_.Root().lexically_relative(fs::current_path()).string() + "/";
  const TProgramRun run =
      RunProgram(program_, {"--installation", relative, "--new", "E:\\Docs", "--yes"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("Documents: 30 examined, "), std::string::npos) << run.Out;
  EXPECT_EQ(
      demo_.QueryValue("SELECT COUNT(*) FROM Docs WHERE DOCUMENT_NAME LIKE 'C:\\VarnelDocs\\%'"),
      "0");
  const std::string log = CliLog(demo_.Root());
  // The version is the running program's own; the program stands in the installation's Utils.
  EXPECT_NE(log.find(" v1.0.0.1  ** "), std::string::npos) << log;
  EXPECT_NE(
      log.find("\r\nProc_Name=ConnInfo: 0 " + (demo_.Utils() / "VrlChangeDocsPathCli").string() +
               " Local 1 " + demo_.DatabaseFolder().string() + " "),
      std::string::npos)
      << log;
  EXPECT_EQ(TreeSnapshot(elsewhere_.Path()), programOnly_);

  // The variable names it just as well, and the option wins over it.
  setenv("VRL_INSTALLATION", demo_.Root().c_str(), 1);
  const TProgramRun listed = RunProgram(program_, {"--list-runs"});
  EXPECT_EQ(listed.ExitCode, 0) << listed.Err;
  EXPECT_EQ(listed.Out.rfind("R1  ", 0), 0u) << listed.Out;
  setenv("VRL_INSTALLATION", (elsewhere_.Path() / "gone").c_str(), 1);
  EXPECT_EQ(RunProgram(program_, {"--installation", demo_.Root().string(), "--list-runs"}).ExitCode,
            0);
  EXPECT_EQ(RunProgram(program_, {"--list-runs"}).ExitCode, 2);
}

TEST_F(NamedInstallationEndToEnd, TheBuildFolderATwiceGivenOrAnEmptyOptionIsRefused) {
  const TProgramRun build = RunProgram(program_, {"--installation", VRL_BINARY_DIR, "--list-runs"});
  EXPECT_EQ(build.ExitCode, 2);
  EXPECT_EQ(build.Err.rfind("The installation " + std::string(VRL_BINARY_DIR) + " lacks DB", 0), 0u)
      << build.Err;
  const std::string root = demo_.Root().string();
  for (const std::vector<std::string>& usage :
       {std::vector<std::string>{"--installation", root, "--installation", root, "--list-runs"},
        {"--installation", "", "--list-runs"},
        {"--installation=", "--list-runs"},
        {"--installation", "--list-runs"}}) {
    const TProgramRun run = RunProgram(program_, usage);
    EXPECT_EQ(run.ExitCode, 64) << usage[1] << run.Err;
  }
  EXPECT_EQ(TreeSnapshot(elsewhere_.Path()), programOnly_);
}

}  // namespace
