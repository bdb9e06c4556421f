// The message dialog as Qt shows it, offscreen: geometry, pixels, keys and the connection
// failure that reaches the user through it. Screens are saved under the build folder
// (test-screens/) for a look by eye.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "common/StrTable.h"
#include "db/DatGenDBConnectionDM.h"
#include "platform/qt/QtDialogForm.h"
#include "platform/qt/QtUiServices.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/QtTestApplication.h"
#include "ui/DatGenWebHelpLinkMgr_Unit.h"
#include "ui/GenMsg_Unit.h"
#include "ui/MessageLayout.h"

namespace {

QString ScreenFile(const char* name) {
  QDir().mkpath(VRL_BINARY_DIR "/test-screens");
  return QString(VRL_BINARY_DIR "/test-screens/") + name;
}

bool Dark(QRgb pixel) {
  return qGray(pixel) < 128;
}

// Counts the dark pixels of image inside r.
int DarkPixels(const QImage& image, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += Dark(image.pixel(x, y));
  return n;
}

void Press(QWidget& window, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, key == Qt::Key_C ? "c" : "");
  QApplication::sendEvent(&window, &press);
}

QRect Q(const TRect& r) {
  return QRect(r.Left, r.Top, r.Width, r.Height);
}

class MessageDialogQtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApplication();
    install_ = std::make_unique<TCrmTestInstall>(false);
    Platform().SetUi(std::make_unique<TQtUiServices>());
    FreeButtonWidthCache();
  }
  void TearDown() override {
    FreeButtonWidthCache();
    install_.reset();
  }
  std::unique_ptr<TCrmTestInstall> install_;
};

TEST_F(MessageDialogQtTest, TheShownDialogHasTheComputedGeometryAndDrawsItsText) {
  const std::string text = LoadStr(sServerAccessHalted) + "\n\r/srv/crm/DB";
  auto form = CreateGenMessageDialog(text, TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK});
  TQtDialogWindow window(*form, nullptr);
  window.show();
  const QImage image = window.grab().toImage();
  ASSERT_TRUE(image.save(ScreenFile("message-dialog.png")));

  EXPECT_EQ(image.size(), QSize(form->ClientWidth, form->ClientHeight));
  EXPECT_EQ(window.windowTitle(), QApplication::applicationDisplayName());
  EXPECT_EQ(window.font().pixelSize(), 12);
  const QRect message = Q(form->Message->Bounds);
  const QPushButton* ok = window.findChild<QPushButton*>("OK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(window.ControlWidget(*form->Message)->geometry(), message);
  EXPECT_EQ(ok->geometry(), Q(form->FindControl("OK")->Bounds));
  EXPECT_FALSE(ok->isDefault());
  EXPECT_FALSE(ok->autoDefault());

  // Three lines of text inside the margins, the button below them, centred.
  const TMessageLayoutUnits u = MessageLayoutUnits(AverageCharSize(form->Font));
  EXPECT_GE(message.height(), 3 * QFontMetrics(window.font()).height());
  EXPECT_EQ(message.left(), u.HorzMargin);
  EXPECT_GE(message.width(), 120);
  EXPECT_EQ(ok->geometry().top(), message.bottom() + 1 + u.VertSpacing);
  EXPECT_NEAR(2 * ok->geometry().left() + ok->width(), form->ClientWidth, 1);
  EXPECT_LE(ok->geometry().bottom(), form->ClientHeight - 1);

  EXPECT_GT(DarkPixels(image, message), 200);
  // Nothing is drawn in the margins around the text.
  EXPECT_EQ(DarkPixels(image, QRect(0, 0, u.HorzMargin, ok->geometry().top())), 0);
  EXPECT_EQ(DarkPixels(image, QRect(0, 0, form->ClientWidth, u.VertMargin)), 0);
  EXPECT_EQ(DarkPixels(image, QRect(0, message.bottom() + 1, form->ClientWidth, u.VertSpacing)), 0);
}

TEST_F(MessageDialogQtTest, EscapeAndButtonsGiveTheirModalResults) {
  const struct {
    TMsgDlgButtons Buttons;
    int Escape;
  } cases[] = {{{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, mrNo}, {{TMsgDlgBtn::mbOK}, mrOk}};
  for (const auto& c : cases) {
    auto form = CreateGenMessageDialog("Sure?", TMsgDlgType::mtConfirmation, c.Buttons);
    TQtDialogWindow window(*form, nullptr);
    window.show();
    window.setResult(-1);
    Press(window, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(window.result(), c.Escape);
    EXPECT_FALSE(window.isVisible());
  }
  auto form = CreateGenMessageDialog("Sure?", TMsgDlgType::mtConfirmation,
                                     {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
  TQtDialogWindow window(*form, nullptr);
  window.show();
  window.findChild<QPushButton*>("Yes")->click();
  EXPECT_EQ(window.result(), mrYes);
}

TEST_F(MessageDialogQtTest, CtrlCPutsTheDialogTextOnTheClipboardAndCtrlShiftCDoesNot) {
  auto form = CreateGenMessageDialog("Disk full", TMsgDlgType::mtError,
                                     {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
  TQtDialogWindow window(*form, nullptr);
  window.show();
  QApplication::clipboard()->setText("before");
  Press(window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "before");
  Press(window, Qt::Key_C, Qt::ControlModifier);
  const std::string rule = "---------------------------\r\n";
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            rule + "Error\r\n" + rule + "Disk full\r\n" + rule + "Yes   No   \r\n" + rule);
}

TEST_F(MessageDialogQtTest, TheConnectionFailureIsShownInTheMessageDialog) {
  std::filesystem::remove_all(install_->DbFolder());
  QString title, caption;
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = dynamic_cast<TQtDialogWindow*>(widget);
      if (!dialog || !dialog->isVisible()) continue;
      dialog->grab().save(ScreenFile("connection-failure.png"));
      title = dialog->windowTitle();
      caption = dialog->findChild<QPushButton*>("OK")->text();
      dialog->findChild<QPushButton*>("OK")->click();
    }
  });
  EXPECT_FALSE(MainConnectionIsOpen());
  EXPECT_EQ(title, QApplication::applicationDisplayName());
  EXPECT_EQ(caption, "OK");
  EXPECT_TRUE(QFile::exists(ScreenFile("connection-failure.png")));
}

TEST_F(MessageDialogQtTest, TheHelpLinkLabelOpensTheEscapedAddressAndTheCheckBoxReportsItsState) {
  std::ofstream(install_->Path("DBSys/vrllnks.vrl"))
      << "12=\"https://help.example/err?t=*VrlToken*\",\"Online help\",\"Opens the help site\","
         "\"\",\"1\"\n";
  TDialogForm other;
  std::unique_ptr<TWebHelpLinkGuiItem> first;
  InitGuiCtrl(other, nullptr, 12, first, 0);  // creates the manager
  first.reset();
  struct TRun {
    QString Link, Tip;
    bool Underlined = false;
    QColor Colour;
    Qt::CursorShape Cursor = Qt::ArrowCursor;
    QRect LinkRect, BoxRect;
    QSize Size;
  } run;
  const auto hook = [](void* data, TMessageForm&) {
    QTimer::singleShot(0, [data] {
      auto& r = *static_cast<TRun*>(data);
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = dynamic_cast<TQtDialogWindow*>(widget);
        if (!dialog || !dialog->isVisible()) continue;
        dialog->grab().save(ScreenFile("message-dialog-link.png"));
        r.Size = dialog->size();
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
          r.Link = label->text();
          r.Tip = label->toolTip();
          r.Underlined = label->font().underline();
          r.Colour = label->palette().color(QPalette::WindowText);
          r.Cursor = label->cursor().shape();
          r.LinkRect = QRect(label->mapTo(dialog, QPoint(0, 0)), label->size());
          const QPointF at(2, 2);
          QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at),
                              Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
          QApplication::sendEvent(label, &release);
        }
        QCheckBox* box = dialog->findChild<QCheckBox*>();
        r.BoxRect = box->geometry();
        box->click();
        dialog->findChild<QPushButton*>("OK")->click();
      }
    });
  };
  bool checked = true;
  EXPECT_EQ(GenMessageDlgEx("Disk full", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, checked, hook,
                            &run, true, false, "Do not show again", 12, false),
            mrOk);
  EXPECT_TRUE(checked);
  EXPECT_EQ(run.Link, "Online help");
  EXPECT_EQ(run.Tip, "Opens the help site");
  EXPECT_TRUE(run.Underlined);
  EXPECT_EQ(run.Colour, QColor(0, 91, 183));
  EXPECT_EQ(run.Cursor, Qt::PointingHandCursor);
  // Link bottom right, check box bottom left, neither outside the dialog nor over each other.
  EXPECT_TRUE(QRect(QPoint(0, 0), run.Size).contains(run.LinkRect));
  EXPECT_TRUE(QRect(QPoint(0, 0), run.Size).contains(run.BoxRect));
  EXPECT_EQ(run.BoxRect.left(), 3);
  EXPECT_FALSE(run.BoxRect.intersects(run.LinkRect));
  EXPECT_EQ(install_->System->Opened,
            std::vector<std::string>{"https://help.example/err?t=Disk%20full"});
  FreeWebHelpLinkMgr();
}

}  // namespace
