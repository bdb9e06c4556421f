// VrlDemoInstall --root DIR [--documents N] [--cards N] [--docs-folder PATH]
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "tools/DemoInstall.h"

int main(int argc, char** argv) {
  TDemoInstallOptions options;
  CLI::App app{"Lays out a demo installation of the CRM with a sample database"};
  app.add_option("--root", options.Root, "the installation folder to create (new or empty)")
      ->required();
  app.add_option("--documents", options.Documents, "number of documents (default 1000)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--cards", options.Cards, "number of cards (default 100)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--docs-folder", options.DocsFolder,
                 "the stored documents folder (default C:\\VarnelDocs)");
  CLI11_PARSE(app, argc, argv);
  std::error_code error;
  options.ProgramFolder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  return RunDemoInstall(options, std::cout, std::cerr);
}
