#include "app/window/VrlApplication.h"

#include "log/EurekaLog.h"

TVrlApplication::TVrlApplication(int& argc, char** argv) : QApplication(argc, argv) {
  startTimer(1000);
}

bool TVrlApplication::notify(QObject* receiver, QEvent* event) {
  EurekaUiLoopTurned();
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    // Exception objects or not, the exception manager logs them and tells the user.
    HandleEscapedException();
  }
  return false;
}
