#include "app/console/ConsoleEntry.h"

#include <unistd.h>

#include <csignal>
#include <iostream>

#include "app/console/ConsoleProgram.h"
#include "platform/Platform.h"
#include "platform/engine/driver/EngineDriver.h"
#include "platform/system/PosixSystemServices.h"

int RunConsoleEntry(int argc, char** argv) {
  // A write beyond the file-size limit fails with an error the engine reports like a full disk,
  // instead of the signal ending the program without a word.
  signal(SIGXFSZ, SIG_IGN);
  Platform().SetSystem(std::make_unique<TPosixSystemServices>());
  Platform().SetEngine(CreateEngineDriver());
  const int code = RunConsoleProgram(
      std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr,
      TConsoleTerminal{isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1});
  Platform().Reset();
  return code;
}
