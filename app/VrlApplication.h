// The window program's application object. Qt delivers every event through notify: an
// exception escaping an event handler is caught there and handed to the application's
// exception event (the event log), never left to unwind through Qt.
#pragma once

#include <QApplication>

class TVrlApplication : public QApplication {
 public:
  TVrlApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};
