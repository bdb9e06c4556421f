#include "platform/qt/QtClassNames.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "tests/support/QtTestApplication.h"

namespace {
class TOwnEdit : public QLineEdit {};
}  // namespace

TEST(QtClassNames, WidgetsAreReportedUnderTheFrameworkClassTheyStandFor) {
  QtTestApplication();
  QLineEdit edit;
  TOwnEdit derived;
  QToolButton speedButton;
  QFrame panel;
  QWidget plain;
  QTimer timer;
  EXPECT_EQ(QtClassName(edit).ClassName, "TEdit");
  EXPECT_EQ(QtClassName(edit).UnitName, "StdCtrls");
  EXPECT_EQ(QtClassName(derived).ClassName, "TEdit");  // a subclass keeps its base's name
  EXPECT_EQ(QtClassName(speedButton).ClassName, "TSpeedButton");
  EXPECT_EQ(QtClassName(panel).ClassName, "TPanel");
  EXPECT_EQ(QtClassName(plain).ClassName, "TWinControl");
  EXPECT_EQ(QtClassName(timer).ClassName, "QTimer");  // outside the table: Qt's own name
  EXPECT_EQ(QtClassName(timer).UnitName, "Qt");
}
