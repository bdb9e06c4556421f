// VrlChangeDocsPath: the tool's window program.
#include "app/window/WindowEntry.h"

int main(int argc, char** argv) {
  return RunWindowEntry(argc, argv);
}
