#include "tests/support/DemoInstallation.h"

#include <stdexcept>

#include "tests/support/RunProgram.h"

TDemoInstallation::TDemoInstallation(const std::vector<std::string>& options,
                                     const std::string& rootName)
    : root_(temp_.Path() / rootName) {
  std::vector<std::string> args{"--root", root_.string()};
  args.insert(args.end(), options.begin(), options.end());
  const TProgramRun run = RunProgram(BuiltProgram("VrlDemoInstall"), args);
  if (run.ExitCode != 0) throw std::runtime_error("VrlDemoInstall failed: " + run.Out + run.Err);
}
