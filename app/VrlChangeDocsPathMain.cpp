// VrlChangeDocsPath: the tool's window program.
#include <QApplication>
#include <memory>

#include "app/ChangePathForDocs_Unit.h"
#include "common/SysFolders.h"
#include "platform/Platform.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"
#include "platform/qt/QtUiServices.h"
#include "platform/system/PosixSystemServices.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  Platform().SetSystem(std::make_unique<TPosixSystemServices>());
  Platform().SetEngine(CreateSqliteAceDriver());
  auto ui = std::make_unique<TQtUiServices>();
  TQtUiServices& qtUi = *ui;
  Platform().SetUi(std::move(ui));

  LoadSystemFolderDefaults();

  int code = 0;
  {
    TChangePathForDocsFrm window;
    qtUi.SetMainWindow(&window);
    // A failed start-up check has told the user why; the window is never shown.
    if (window.StartedUp()) {
      window.show();
      code = application.exec();
    }
  }
  Platform().Reset();
  return code;
}
