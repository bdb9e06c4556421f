// The window program's application object. Qt delivers every event through notify: an
// exception escaping an event handler is caught there and handed to the exception manager
// (through the exception-capture component), never left to unwind through Qt. Every delivery
// also tells the component's freeze detection that the loop turned; a timer makes sure it turns
// at least once a second while the user does nothing.
#pragma once

#include <QApplication>

class TVrlApplication : public QApplication {
 public:
  TVrlApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
