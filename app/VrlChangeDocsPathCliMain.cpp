// VrlChangeDocsPathCli: the replace command on a terminal. See app/ConsoleProgram.h.
#include <unistd.h>

#include <iostream>

#include "app/ConsoleProgram.h"
#include "platform/Platform.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "platform/system/PosixSystemServices.h"

int main(int argc, char** argv) {
  Platform().SetSystem(std::make_unique<TPosixSystemServices>());
  Platform().SetEngine(CreateSqliteAceDriver());
  const int code = RunConsoleProgram(
      std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr,
      TConsoleTerminal{isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1});
  Platform().Reset();
  return code;
}
