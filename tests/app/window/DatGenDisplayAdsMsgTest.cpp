#include "app/window/DatGenDisplayAdsMsg_Unit.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "db/RemoteControlNotice.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/QtTestApplication.h"

namespace {

class DatGenDisplayAdsMsgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApplication();
    auto system = std::make_unique<TFakeSystem>();
    system_ = system.get();
    Platform().SetSystem(std::move(system));
  }
  void TearDown() override { ResetProgramUnits(); }
  TFakeSystem* system_ = nullptr;
};

TEST_F(DatGenDisplayAdsMsgTest, LaidOutWithItsFieldsTextsAndGeometry) {
  TFrmDatGenDisplayAdsMsg form;
  EXPECT_EQ(form.windowTitle(), "Message");
  EXPECT_EQ(form.size(), QSize(350, 145));
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
  EXPECT_EQ(form.font().pixelSize(), 11);

  struct Expected {
    QWidget* widget;
    QPoint position;
    const char* text;
  };
  for (const Expected& e : {
           Expected{form.LblMsg(), {8, 30}, RemoteControlNoticeLine2},
           Expected{form.LblUrl(), {16, 78}, "Learn More"},
           Expected{form.Label2(), {16, 13}, RemoteControlNoticeLine1},
           Expected{form.Label3(), {200, 48}, "."},
           Expected{form.Label4(), {16, 54}, RemoteControlNoticeLine3},
       }) {
    EXPECT_EQ(e.widget->pos(), e.position) << e.text;
    EXPECT_EQ(static_cast<QLabel*>(e.widget)->text(), e.text);
  }
  EXPECT_EQ(form.Label2()->text(), "You can run VarnelCRM while using remote control technologies");
  EXPECT_EQ(form.Button1()->geometry(), QRect(138, 110, 75, 25));
  EXPECT_EQ(form.Button1()->text(), "Close");
  EXPECT_TRUE(form.LblUrl()->font().underline());
  EXPECT_EQ(form.LblUrl()->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_EQ(form.LblUrl()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(DatGenDisplayAdsMsgTest, LearnMoreOpensTheGuideThroughTheShell) {
  TFrmDatGenDisplayAdsMsg form;
  const QPointF inside(5, 5);
  QMouseEvent press(QEvent::MouseButtonPress, inside, form.LblUrl()->mapToGlobal(inside),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, inside, form.LblUrl()->mapToGlobal(inside),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(form.LblUrl(), &press);
  QApplication::sendEvent(form.LblUrl(), &release);
  ASSERT_EQ(system_->Opened.size(), 1u);
  EXPECT_EQ(system_->Opened[0], RemoteControlGuideUrl);
}

TEST_F(DatGenDisplayAdsMsgTest, CloseEndsTheModalNoticeWithTheCancelResult) {
  TFrmDatGenDisplayAdsMsg form;
  QTimer::singleShot(0, [&form] { form.Button1()->click(); });
  EXPECT_EQ(form.exec(), QDialog::Rejected);
  EXPECT_TRUE(system_->Opened.empty());
}

}  // namespace
