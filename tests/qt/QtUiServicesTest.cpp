#include "platform/qt/QtUiServices.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "common/Classes.h"
#include "tests/support/QtTestApplication.h"

namespace {

class TTestFrm : public QWidget, public TComponent {
 public:
  TTestFrm() : TComponent(nullptr, "TestFrm") {}
  std::string ClassName() const override { return "TTestFrm"; }
  std::string UnitName() const override { return "TestFrm_Unit"; }
};

// Presses the button of the next message box that shows text, and remembers what it showed.
struct TBoxAnswer {
  QString Text;
  QString Title;
  void Press(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [this, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      Text = box->text();
      Title = box->windowTitle();
      box->button(button)->click();
    });
  }
};

class QtUiServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { QtTestApplication(); }
  TQtUiServices ui_;
};

TEST_F(QtUiServicesTest, TheHourglassIsOneOverrideCursorAndTheDefaultRemovesIt) {
  ui_.SetCursor(TCursorKind::crHourGlass);
  ui_.SetCursor(TCursorKind::crHourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_EQ(ui_.Cursor(), TCursorKind::crHourGlass);
  ui_.SetCursor(TCursorKind::crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(ui_.Cursor(), TCursorKind::crDefault);
}

TEST_F(QtUiServicesTest, ConfirmationIsTrueOnlyForYesAndMessagesShowTheirExactText) {
  TBoxAnswer answer;
  answer.Press(QMessageBox::Yes);
  EXPECT_TRUE(ui_.ConfirmYesNo("Do you want to start updating document paths?"));
  EXPECT_EQ(answer.Text, "Do you want to start updating document paths?");
  answer.Press(QMessageBox::No);
  EXPECT_FALSE(ui_.ConfirmYesNo("Again?"));

  QApplication::setApplicationDisplayName("VrlChangeDocsPath");
  answer.Press(QMessageBox::Ok);
  ui_.ShowMessage("Operation completed", TMessageKind::mkInformation);
  EXPECT_EQ(answer.Text, "Operation completed");
  EXPECT_EQ(answer.Title, "VrlChangeDocsPath");
  EXPECT_EQ(ui_.ApplicationTitle(), "VrlChangeDocsPath");
}

TEST_F(QtUiServicesTest, DescribesOurFormsByTheirOwnNamesAndQtFormsByTheirClass) {
  TTestFrm ours;
  ours.setWindowTitle("Ours");
  ours.setGeometry(100, 120, 300, 200);
  ui_.SetMainWindow(&ours);
  const auto main = ui_.MainForm();
  ASSERT_TRUE(main);
  EXPECT_EQ(main->ClassName, "TTestFrm");
  EXPECT_EQ(main->UnitName, "TestFrm_Unit");
  EXPECT_EQ(main->Name, "TestFrm");
  EXPECT_EQ(main->Caption, "Ours");
  EXPECT_EQ(main->Object, static_cast<const TObject*>(&ours));
  EXPECT_EQ(main->Bounds.Width, ours.frameGeometry().width());

  QWidget plain;
  plain.setObjectName("Plain");
  const TFormInfo info = DescribeForm(plain);
  EXPECT_EQ(info.ClassName, "TWinControl");  // Qt classes under their framework names
  EXPECT_EQ(info.UnitName, "Controls");
  EXPECT_EQ(info.Name, "Plain");
  EXPECT_EQ(info.Object, nullptr);
}

}  // namespace

namespace {

TEST_F(QtUiServicesTest, ShowsOnlyTheFormsTheProgramRegisteredModally) {
  EXPECT_FALSE(ui_.ShowForm("TNoticeFrm"));  // none registered
  int made = 0;
  QString shownTitle;
  ui_.RegisterForm("TNoticeFrm", [&] {
    ++made;
    auto form = std::make_unique<QDialog>();
    form->setWindowTitle("Notice");
    return form;
  });
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    shownTitle = dialog->windowTitle();
    dialog->accept();
  });
  EXPECT_TRUE(ui_.ShowForm("TNoticeFrm"));
  EXPECT_EQ(made, 1);
  EXPECT_EQ(shownTitle, "Notice");  // it was modal: the timer found it while it was open
}

}  // namespace
