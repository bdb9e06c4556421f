// VrlChangeDocsPath: the tool's window program.
#include <csignal>
#include <memory>

#include "app/ChangePathForDocs_Unit.h"
#include "app/StartupSequence.h"
#include "app/VrlApplication.h"
#include "platform/Platform.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "platform/qt/QtUiServices.h"
#include "platform/system/PosixSystemServices.h"

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails with an error the engine reports like a full disk,
  // instead of the signal ending the program without a word.
  signal(SIGXFSZ, SIG_IGN);
  Platform().SetSystem(std::make_unique<TPosixSystemServices>());
  Platform().SetEngine(CreateSqliteAceDriver());
  int code = 0;
  {
    // The application object first: the start-up guard's message boxes need it.
    TVrlApplication application(argc, argv);
    auto ui = std::make_unique<TQtUiServices>();
    TQtUiServices& qtUi = *ui;
    Platform().SetUi(std::move(ui));
    TProgramUnits units;
    // The start-up guard refused (and said why): the orderly halt, no window.
    if (units.Halted()) {
      code = units.HaltExitCode();
    } else {
      TChangePathForDocsFrm window;
      qtUi.SetMainWindow(&window);
      // A failed start-up check has told the user why and was logged; the program ends in order
      // (exit code 0) without showing the window.
      if (window.StartedUp()) {
        window.show();
        code = application.exec();
      }
    }
  }
  Platform().Reset();
  return code;
}
