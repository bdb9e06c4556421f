#include "app/VrlApplication.h"

#include "common/Classes.h"
#include "log/EventLog.h"

bool TVrlApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    // Our forms are objects of the log's object model too; Qt's own widgets are not.
    HandleApplicationException(dynamic_cast<const TObject*>(receiver), e);
  } catch (...) {
    HandleApplicationException(nullptr, std::runtime_error("unknown exception"));
  }
  return false;
}
