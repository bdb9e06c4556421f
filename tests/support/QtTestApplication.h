// One QApplication for a test program's window tests (offscreen, as ctest runs them).
#pragma once

#include <QApplication>
#include <cstdlib>

inline QApplication& QtTestApplication() {
  static int argc = 1;
  static char name[] = "vrl_tests";
  static char* argv[] = {name, nullptr};
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication application(argc, argv);
  return application;
}
