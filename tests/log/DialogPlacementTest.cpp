#include "log/DialogPlacement.h"

#include <gtest/gtest.h>

#include "common/Classes.h"
#include "platform/Platform.h"
#include "tests/support/FakeUi.h"
#include "tests/support/ProgramUnitsReset.h"

namespace {

struct TDialogObject : TObject {
  std::string ClassName() const override { return "TGenMsgFrm"; }
};

TFormInfo Form(int left, int top, int width, int height) {
  TFormInfo f;
  f.Bounds = {left, top, width, height};
  f.ClientLeft = left + 8;  // a frame and a caption bar
  f.ClientTop = top + 30;
  return f;
}

class DialogPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto ui = std::make_unique<TFakeUi>();
    ui_ = ui.get();
    Platform().SetUi(std::move(ui));
    ui_->Screen = {0, 0, 1920, 1080};
    ui_->VirtualScreen = {0, 0, 3840, 1080};
    dialog_.Width = 300;
    dialog_.Height = 101;
    dialog_.Left = dialog_.Top = 7;
    dialog_.Position = TPosition::poScreenCenter;
    dialog_.Object = &dialogObject_;
  }
  void TearDown() override { ResetProgramUnits(); }

  TFakeUi* ui_ = nullptr;
  TDialogObject dialogObject_;
  TPlacedForm dialog_;
};

}  // namespace

TEST_F(DialogPlacementTest, CentresOnTheActiveFormsClientOrigin) {
  ui_->Main = Form(0, 0, 800, 600);
  ui_->Active = Form(100, 50, 401, 300);
  CentreOnActiveForm(dialog_);
  EXPECT_EQ(dialog_.Position, TPosition::poDesigned);
  EXPECT_EQ(dialog_.Left, 108 + 200 - 150);
  EXPECT_EQ(dialog_.Top, 80 + 150 - 50);
}

TEST_F(DialogPlacementTest, WholeScreenBeforeTheMainWindowOrOnA640x480Screen) {
  ui_->Active = Form(100, 50, 400, 300);
  CentreOnActiveForm(dialog_);  // no main window yet
  EXPECT_EQ(dialog_.Left, 960 - 150);
  EXPECT_EQ(dialog_.Top, 540 - 50);

  ui_->Main = Form(0, 0, 800, 600);
  ui_->Screen = {0, 0, 640, 480};
  const TFormInfo relative = Form(10, 10, 100, 100);
  CentreFormOn(dialog_, &relative);  // even a given window does not count
  EXPECT_EQ(dialog_.Left, 320 - 150);
  EXPECT_EQ(dialog_.Top, 240 - 50);
}

TEST_F(DialogPlacementTest, TheDialogItselfActiveMeansWholeScreen) {
  ui_->Main = Form(0, 0, 800, 600);
  ui_->Active = Form(5, 5, 300, 101);
  ui_->Active->Object = &dialogObject_;
  const TRect area = GetDialogReferenceRect(nullptr, dialog_);
  EXPECT_EQ((std::vector<int>{area.Left, area.Top, area.Width, area.Height}),
            (std::vector<int>{0, 0, 1920, 1080}));
}

TEST_F(DialogPlacementTest, MinimisedActiveFormMeansWholeScreen) {
  ui_->Main = Form(0, 0, 800, 600);
  ui_->Active = Form(100, 50, 400, 300);
  ui_->Active->Minimized = true;
  CentreOnActiveForm(dialog_);
  EXPECT_EQ(dialog_.Left, 810);
  EXPECT_EQ(dialog_.Top, 490);
}

TEST_F(DialogPlacementTest, StayOnTopActiveFormDefersToTheMainWindow) {
  ui_->Main = Form(200, 100, 1000, 800);
  ui_->Active = Form(0, 0, 50, 50);
  ui_->Active->StayOnTop = true;
  CentreOnActiveForm(dialog_);
  EXPECT_EQ(dialog_.Left, 208 + 500 - 150);
  EXPECT_EQ(dialog_.Top, 130 + 400 - 50);
  CentreOnMainForm(dialog_);
  EXPECT_EQ(dialog_.Left, 208 + 500 - 150);
}

TEST_F(DialogPlacementTest, NothingToCentreOnLeavesTheDialogAlone) {
  CentreOnActiveForm(dialog_);
  EXPECT_EQ(dialog_.Left, 7);
  EXPECT_EQ(dialog_.Top, 7);
  EXPECT_EQ(dialog_.Position, TPosition::poScreenCenter);
  const TRect bounds = GetActiveFormBounds();
  EXPECT_EQ((std::vector<int>{bounds.Left, bounds.Top, bounds.Width, bounds.Height}),
            (std::vector<int>{0, 0, 3840, 1080}));
}

TEST_F(DialogPlacementTest, ActiveFormBounds) {
  ui_->Main = Form(20, 10, 1000, 700);
  TRect b = GetActiveFormBounds();
  EXPECT_EQ((std::vector<int>{b.Left, b.Top, b.Width, b.Height}),
            (std::vector<int>{20, 10, 1000, 700}));
  ui_->Active = Form(100, 50, 400, 300);
  b = GetActiveFormBounds();
  EXPECT_EQ((std::vector<int>{b.Left, b.Top, b.Width, b.Height}),
            (std::vector<int>{100, 50, 400, 300}));
  ui_->Active->MdiChild = true;
  b = GetActiveFormBounds();
  EXPECT_EQ((std::vector<int>{b.Left, b.Top}), (std::vector<int>{108, 80}));
}

TEST_F(DialogPlacementTest, CentreInRectKeepsThePlacementMode) {
  CentreInRect(dialog_, {100, 100, 501, 201});
  EXPECT_EQ(dialog_.Left, 100 + (501 - 300) / 2);
  EXPECT_EQ(dialog_.Top, 100 + (201 - 101) / 2);
  EXPECT_EQ(dialog_.Position, TPosition::poScreenCenter);
  CentreOnWindow(dialog_, Form(-400, 0, 200, 100));  // a dialog larger than its window
  EXPECT_EQ(dialog_.Left, -400 + (200 - 300) / 2);
  EXPECT_EQ(dialog_.Top, 0);
}
