// The message dialog laid out against the fake user interface, whose fixed-pitch font makes
// every number predictable: 9 points give characters 7 pixels wide and lines 15 pixels high.
#include <gtest/gtest.h>

#include <array>
#include <map>

#include "tests/support/CrmTestInstall.h"
#include "ui/GenMsg_Unit.h"
#include "ui/MessageLayout.h"
#include "ui/WebHelpLinkGuiItem.h"

namespace {

// Counts how often each text is measured.
class TCountingUi : public TFakeUi {
 public:
  std::map<std::string, int> Measured;
  TTextExtent TextExtent(const TDialogFont& font, const std::string& text, int wrapWidth) override {
    ++Measured[text];
    return TFakeUi::TextExtent(font, text, wrapWidth);
  }
};

struct TSeen {
  int ClientWidth = 0, ClientHeight = 0, Left = 0, Top = 0;
  bool StayOnTop = false;
  std::vector<std::pair<std::string, TRect>> Controls;
  TRect Bounds(const std::string& name) const {
    for (const auto& [n, r] : Controls)
      if (n == name) return r;
    ADD_FAILURE() << "no control " << name;
    return {};
  }
};

void Capture(void* data, TMessageForm& form) {
  auto& seen = *static_cast<TSeen*>(data);
  seen = {form.ClientWidth, form.ClientHeight, form.Left, form.Top, form.StayOnTop, {}};
  for (const auto& c : form.Controls()) seen.Controls.emplace_back(c->Name(), c->Bounds);
}

std::array<int, 4> R(const TRect& r) {
  return {r.Left, r.Top, r.Width, r.Height};
}

class MessageDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeButtonWidthCache();
    install_.Ui->Title = "VrlChangeDocsPath";
  }
  void TearDown() override { FreeButtonWidthCache(); }

  int Show(const std::string& text, TMsgDlgButtons buttons, TSeen& seen,
           const std::string& checkCaption = {}, bool* checked = nullptr) {
    bool box = false;
    const int result = GenMessageDlgEx(text, TMsgDlgType::mtCustom, buttons, box, Capture, &seen,
                                       true, true, checkCaption, 0, false);
    if (checked) *checked = box;
    return result;
  }

  TCrmTestInstall install_{false};
};

TEST_F(MessageDialogTest, LayoutUnitsComeFromTheAverageCharacterWithRoundedMulDiv) {
  const TTextExtent c = AverageCharSize(TDialogFont{});
  EXPECT_EQ(c.Width, 7);
  EXPECT_EQ(c.Height, 15);
  const TMessageLayoutUnits u = MessageLayoutUnits(c);
  EXPECT_EQ(u.HorzMargin, 14);
  EXPECT_EQ(u.VertMargin, 15);
  EXPECT_EQ(u.VertSpacing, 19);  // 18.75
  EXPECT_EQ(u.ButtonWidth, 88);  // 87.5 rounds up
  EXPECT_EQ(u.ButtonHeight, 26);
  EXPECT_EQ(u.ButtonSpacing, 7);
  EXPECT_EQ(MulDiv(-7, 3, 2), -11);  // halves away from zero
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST_F(MessageDialogTest, AOneWordMessageGetsATextAreaOfAtLeast120Pixels) {
  TSeen seen;
  EXPECT_EQ(Show("OK", {TMsgDlgBtn::mbOK}, seen), mrOk);
  EXPECT_EQ(R(seen.Bounds("Message")), R({14, 15, 120, 15}));
  EXPECT_EQ(seen.ClientWidth, 120 + 2 * 14);
  EXPECT_EQ(seen.ClientHeight, 15 + 26 + 19 + 2 * 15);
  // One button of the minimum width, centred under the text.
  EXPECT_EQ(R(seen.Bounds("OK")), R({(148 - 88) / 2, 15 + 15 + 19, 88, 26}));
  // Centred on the whole screen: no active form, no main window.
  EXPECT_EQ(seen.Left, 1920 / 2 - 148 / 2);
  EXPECT_EQ(seen.Top, 1080 / 2 - 90 / 2);
}

TEST_F(MessageDialogTest, ALongMessageWrapsAtHalfTheScreenAndGrowsInHeight) {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "word ";
  TSeen seen;
  Show(text, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, seen);
  const TRect message = seen.Bounds("Message");
  EXPECT_LE(message.Width, 1920 / 2);
  EXPECT_GT(message.Width, 1920 / 2 - 5 * 7);  // lines break only at word ends
  EXPECT_EQ(seen.ClientWidth, message.Width + 2 * 14);
  EXPECT_EQ(message.Height, 15 * ((400 * 5 + 134) / 135));
  EXPECT_EQ(seen.ClientHeight, message.Height + 26 + 19 + 30);
  // Two buttons with their spacing, centred, below the text.
  const TRect yes = seen.Bounds("Yes"), no = seen.Bounds("No");
  EXPECT_EQ(yes.Left, (seen.ClientWidth - (2 * 88 + 7)) / 2);
  EXPECT_EQ(no.Left, yes.Left + 88 + 7);
  EXPECT_EQ(yes.Top, message.Height + 15 + 19);
}

TEST_F(MessageDialogTest, WideButtonRowsWidenTheDialog) {
  TSeen seen;
  Show("x", {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK, TMsgDlgBtn::mbNoToAll}, seen);
  // "N&o to All" measures 10 characters + 8, below the minimum: four minimum buttons.
  EXPECT_EQ(seen.ClientWidth, 4 * 88 + 3 * 7 + 2 * 14);
  const std::vector<std::string> order = {"Message", "Yes", "No", "OK", "NoToAll"};
  ASSERT_EQ(seen.Controls.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(seen.Controls[i].first, order[i]);
}

TEST_F(MessageDialogTest, EscapeAnswersCancelElseNoElseOkAndNoButtonIsDefault) {
  const struct {
    TMsgDlgButtons Buttons;
    int Escape;
  } cases[] = {
      {{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, mrNo},
      {{TMsgDlgBtn::mbOK}, mrOk},
      {{TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel}, mrCancel},
      {{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel}, mrCancel},
      {{TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK}, mrNo},
      {{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbAbort}, mrNone},
  };
  for (const auto& c : cases) {
    auto form = CreateGenMessageDialog("Sure?", TMsgDlgType::mtConfirmation, c.Buttons);
    EXPECT_EQ(form->CancelResult, c.Escape) << c.Buttons.Bits();
    EXPECT_EQ(form->Caption, "Confirm");
  }
}

TEST_F(MessageDialogTest, CaptionsComeFromTheKindAndTheCustomKindShowsTheApplicationTitle) {
  const std::pair<TMsgDlgType, std::string> kinds[] = {
      {TMsgDlgType::mtWarning, "Warning"},          {TMsgDlgType::mtError, "Error"},
      {TMsgDlgType::mtInformation, "Information"},  {TMsgDlgType::mtConfirmation, "Confirm"},
      {TMsgDlgType::mtCustom, "VrlChangeDocsPath"},
  };
  for (const auto& [kind, caption] : kinds)
    EXPECT_EQ(CreateGenMessageDialog("x", kind, {TMsgDlgBtn::mbOK})->Caption, caption);
}

TEST_F(MessageDialogTest, CtrlCCopiesTheDialogTextAndOtherShiftStatesCopyNothing) {
  auto form = CreateGenMessageDialog("Delete the card?", TMsgDlgType::mtConfirmation,
                                     {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
  form->OnKeyDown(VK_C, TShiftState{true, true, false});  // Ctrl+Shift+C
  form->OnKeyDown(VK_C, TShiftState{false, true, true});  // Ctrl+Alt+C
  form->OnKeyDown(VK_C, TShiftState{});
  form->OnKeyDown('X', TShiftState{false, true, false});
  EXPECT_EQ(install_.Ui->Clipboard, "");
  form->OnKeyDown(VK_C, TShiftState{false, true, false});
  const std::string rule = "---------------------------\r\n";
  EXPECT_EQ(install_.Ui->Clipboard,
            rule + "Confirm\r\n" + rule + "Delete the card?\r\n" + rule + "Yes   No   \r\n" + rule);
}

TEST_F(MessageDialogTest, ButtonCaptionsAreMeasuredOncePerProcess) {
  auto ui = std::make_unique<TCountingUi>();
  TCountingUi& counting = *ui;
  Platform().SetUi(std::move(ui));
  for (int i = 0; i < 3; ++i)
    CreateGenMessageDialog("x", TMsgDlgType::mtWarning, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbHelp});
  EXPECT_EQ(counting.Measured["&Yes"], 1);
  EXPECT_EQ(counting.Measured["&Help"], 1);
  EXPECT_EQ(counting.Measured.count("&No"), 0u);
  FreeButtonWidthCache();
  CreateGenMessageDialog("x", TMsgDlgType::mtWarning, {TMsgDlgBtn::mbYes});
  EXPECT_EQ(counting.Measured["&Yes"], 2);
}

TEST_F(MessageDialogTest, TheCheckBoxSitsBottomLeftAndAWideCaptionWidensTheDialog) {
  TSeen seen;
  bool checked = false;
  const std::string caption(30, 'c');
  Show("Hi", {TMsgDlgBtn::mbOK}, seen, caption, &checked);
  EXPECT_TRUE(checked);  // the initial state, unchanged by the fake user
  const int boxWidth = 30 * 7 + 21;
  EXPECT_EQ(seen.ClientWidth, boxWidth + 10);
  EXPECT_EQ(seen.ClientHeight, 90 + 25);
  EXPECT_EQ(R(seen.Bounds("CheckBox")), R({3, 115 - 17 - 3, boxWidth, 17}));
}

TEST_F(MessageDialogTest, TheDialogCentresOverTheActiveFormAndFollowsItOnTop) {
  TFormInfo active;
  active.Bounds = {100, 50, 600, 400};
  active.ClientLeft = 108;
  active.ClientTop = 80;
  active.StayOnTop = true;
  install_.Ui->Active = active;
  TSeen seen;
  Show("OK", {TMsgDlgBtn::mbOK}, seen);
  // A stay-on-top active form sends the dialog to the main window: none here, the screen.
  EXPECT_TRUE(seen.StayOnTop);
  EXPECT_EQ(seen.Left, 1920 / 2 - 148 / 2);
  install_.Ui->Active->StayOnTop = false;
  install_.Ui->Main = active;
  Show("OK", {TMsgDlgBtn::mbOK}, seen);
  EXPECT_FALSE(seen.StayOnTop);
  EXPECT_EQ(seen.Left, 108 + 600 / 2 - 148 / 2);
  EXPECT_EQ(seen.Top, 80 + 400 / 2 - 90 / 2);
}

TEST_F(MessageDialogTest, AMessageTallerThanTheScreenScrollsAndTheDialogStaysOnIt) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "disk ";  // 10,000 characters
  TSeen seen;
  int scrolls = -1;
  bool checked = false;
  GenMessageDlgEx(
      text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, checked,
      [](void* data, TMessageForm& form) { *static_cast<int*>(data) = form.Message->Scrollable; },
      &scrolls, true, false, {}, 0, false);
  Show(text, {TMsgDlgBtn::mbOK}, seen);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(seen.ClientHeight, 1080);
  EXPECT_GE(seen.Top, 0);
  const TRect ok = seen.Bounds("OK");
  EXPECT_LE(ok.Top + ok.Height, seen.ClientHeight);
  EXPECT_EQ(install_.Ui->Messages.back(), text);
}

TEST_F(MessageDialogTest, GenShowMessageShowsThePlainTextWhereNoDialogCanBeShown) {
  GenShowMessage("Procedure halted.\n\rVerify server.");
  ASSERT_EQ(install_.Ui->Messages.size(), 1u);
  EXPECT_EQ(install_.Ui->Messages[0], "Procedure halted.\n\rVerify server.");
}

}  // namespace
