// VrlChangeDocsPathCli: the replace command on a terminal. See app/console/ConsoleProgram.h.
#include "app/console/ConsoleEntry.h"

int main(int argc, char** argv) {
  return RunConsoleEntry(argc, argv);
}
