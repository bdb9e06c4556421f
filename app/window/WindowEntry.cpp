#include "app/window/WindowEntry.h"

#include <QTimer>
#include <csignal>
#include <memory>

#include "app/units/ProgramStartHook.h"
#include "app/units/ProgramUnits.h"
#include "app/window/ChangePathForDocs_Unit.h"
#include "app/window/DatGenDisplayAdsMsg_Unit.h"
#include "app/window/VrlApplication.h"
#include "db/RemoteControlNotice.h"
#include "platform/Platform.h"
#include "platform/engine/driver/EngineDriver.h"
#include "platform/qt/QtUiServices.h"
#include "platform/system/PosixSystemServices.h"

int RunWindowEntry(int argc, char** argv) {
  // A write beyond the file-size limit fails with an error the engine reports like a full disk,
  // instead of the signal ending the program without a word.
  signal(SIGXFSZ, SIG_IGN);
  Platform().SetSystem(std::make_unique<TPosixSystemServices>());
  Platform().SetEngine(CreateEngineDriver());
  int code = 0;
  {
    // The application object first: the start-up guard's message boxes need it.
    TVrlApplication application(argc, argv);
    auto ui = std::make_unique<TQtUiServices>();
    TQtUiServices& qtUi = *ui;
    qtUi.RegisterForm(RemoteControlNoticeForm,
                      [] { return std::make_unique<TFrmDatGenDisplayAdsMsg>(); });
    Platform().SetUi(std::move(ui));
    // A failed start-up step or check has told the user why and was logged, and a refusal of
    // the start-up guard has said why; the program ends in order (exit code 0) without showing
    // the window.
    code = RunWithProgramUnits(
        nullptr,
        [&] {
          TChangePathForDocsFrm window;
          qtUi.SetMainWindow(&window);
          int exitCode = 0;
          if (window.StartedUp()) {
            window.show();
            // The start hook runs as the loop's first event.
            QTimer::singleShot(0, [] { RunProgramStartHook(); });
            exitCode = application.exec();
          }
          qtUi.SetMainWindow(nullptr);
          return exitCode;
        },
        0, 0);
    Platform().SetUi(nullptr);
  }
  Platform().Reset();
  return code;
}
