// One QApplication for a test program's window tests (offscreen, as ctest runs them).
#pragma once

#include <QApplication>
#include <cstdlib>

inline QApplication& QtTestApplication() {
  static int argc = 1;
  static char name[] = "vrl_tests";
  static char* argv[] = {name, nullptr};
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Never destroyed: Qt's devices and screens must not be torn down by exit handlers.
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}
