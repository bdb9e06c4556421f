// VrlChangeDocsPath: the tool's window program.
#include <memory>

#include "app/ChangePathForDocs_Unit.h"
#include "app/DatGenDisplayAdsMsg_Unit.h"
#include "app/ProgramUnits.h"
#include "app/VrlApplication.h"
#include "db/RemoteControlNotice.h"
#include "platform/Platform.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "platform/qt/QtUiServices.h"
#include "platform/system/PosixSystemServices.h"

int main(int argc, char** argv) {
  Platform().SetSystem(std::make_unique<TPosixSystemServices>());
  Platform().SetEngine(CreateSqliteAceDriver());
  int code = 0;
  {
    TVrlApplication application(argc, argv);
    auto ui = std::make_unique<TQtUiServices>();
    TQtUiServices& qtUi = *ui;
    qtUi.RegisterForm(RemoteControlNoticeForm,
                      [] { return std::make_unique<TFrmDatGenDisplayAdsMsg>(); });
    Platform().SetUi(std::move(ui));
    // A failed start-up step or check has told the user why and was logged; the program ends
    // in order (exit code 0) without showing the window.
    code = RunWithProgramUnits(
        nullptr,
        [&] {
          TChangePathForDocsFrm window;
          qtUi.SetMainWindow(&window);
          int exitCode = 0;
          if (window.StartedUp()) {
            window.show();
            exitCode = application.exec();
          }
          qtUi.SetMainWindow(nullptr);
          return exitCode;
        },
        0);
    Platform().SetUi(nullptr);
  }
  Platform().Reset();
  return code;
}
