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
#include "host/NamedInstallation.h"
#include "platform/Platform.h"
#include "platform/engine/driver/EngineDriver.h"
#include "platform/qt/QtUiServices.h"
#include "platform/system/PosixSystemServices.h"

int RunWindowProgram(const std::function<int(TChangePathForDocsFrm& window)>& run) {
  TNamedInstallationForTheRun installationForTheRun;
  if (std::string refusal; !UseNamedInstallation({}, refusal)) {
    Platform().Ui().ShowError(refusal);
    return InstallationRefusedExitCode;
  }
  return RunWithProgramUnits(
      nullptr,
      [&] {
        TChangePathForDocsFrm window;
        return run(window);
      },
      0, 0);
}

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
    code = RunWindowProgram([&](TChangePathForDocsFrm& window) {
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
    });
    Platform().SetUi(nullptr);
  }
  Platform().Reset();
  return code;
}
