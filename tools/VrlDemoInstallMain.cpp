// VrlDemoInstall --root DIR [--documents N] [--cards N] [--docs-folder PATH] [--remote CONNINFO]
// Exit codes: 0 laid out; 1 refused or failed; 64 a count outside 0 to 100,000,000; other wrong
// usage as the option parser reports it.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "tools/DemoInstall.h"

namespace {

constexpr int ExitUsage = 64;

// Reads the count option's text into count; false (after telling why and how the program is
// used) when it is not a count the tool lays out.
bool ReadCount(const CLI::App& app, const char* name, const std::string& text, int64_t& count) {
  if (app.count(name) == 0 || ParseDemoCount(text, count)) return true;
  std::cerr << name << ": \"" << text << "\" is not a count from 0 to " << MaxDemoCount << "\n\n"
            << app.help();
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  TDemoInstallOptions options;
  std::string documents, cards;
  CLI::App app{"Lays out a demo installation of the CRM with a sample database"};
  app.add_option("--root", options.Root, "the installation folder to create (new or empty)")
      ->required();
  app.add_option("--documents", documents, "number of documents, 0 to 100000000 (default 1000)");
  app.add_option("--cards", cards, "number of cards, 0 to 100000000 (default 100)");
  app.add_option("--docs-folder", options.DocsFolder,
                 "the stored documents folder (default C:\\VarnelDocs)");
  app.add_option("--remote", options.Remote,
                 "a libpq connection string: the CRM database goes to that PostgreSQL database "
                 "(which must not hold the CRM tables yet) and the installation runs on the "
                 "remote server");
  CLI11_PARSE(app, argc, argv);
  if (!ReadCount(app, "--documents", documents, options.Documents) ||
      !ReadCount(app, "--cards", cards, options.Cards))
    return ExitUsage;
  std::error_code error;
  options.ProgramFolder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  return RunDemoInstall(options, std::cout, std::cerr);
}
