#include "ui/GenMsg_Unit.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/StrTable.h"
#include "log/DialogPlacement.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "ui/DatGenWebHelpLinkMgr_Unit.h"
#include "ui/MessageLayout.h"
#include "ui/WebHelpLinkGuiItem.h"

namespace {
constexpr int MinTextWidth = 120;
constexpr int CornerItemHeight = 25;
constexpr int CornerGap = 3;
constexpr int CheckBoxHeight = 17;

TRect Screen() {
  return Platform().HasUi() ? Platform().Ui().ScreenRect() : TRect{};
}

// The escape button: Cancel, else No, else OK.
int EscapeResult(TMsgDlgButtons buttons) {
  if (buttons.Has(TMsgDlgBtn::mbCancel)) return mrCancel;
  if (buttons.Has(TMsgDlgBtn::mbNo)) return mrNo;
  if (buttons.Has(TMsgDlgBtn::mbOK)) return mrOk;
  return mrNone;
}

void PlaceOverWindow(TMessageForm& form, bool centreOnActive) {
  TPlacedForm placed{form.Left, form.Top, form.Width(), form.Height(), TPosition::poDesigned,
                     &form};
  if (centreOnActive)
    CentreOnActiveForm(placed);
  else
    CentreOnMainForm(placed);
  form.Left = placed.Left;
  form.Top = placed.Top;
}

bool ActiveFormStaysOnTop() {
  if (!Platform().HasUi()) return false;
  const std::optional<TFormInfo> active = Platform().Ui().ActiveForm();
  return active && active->StayOnTop;
}

std::unique_ptr<TWebHelpLinkGuiItem> AddHelpLink(TMessageForm& form, const std::string& text,
                                                 int linkId) {
  std::unique_ptr<TWebHelpLinkGuiItem> item;
  try {
    if (!LinkManagerAvailable(text, linkId)) return item;
    InitGuiCtrl(form, nullptr, linkId, item, 0);
    if (!item) return item;
    item->Attach(form);
    item->SetLinkId(linkId);
    item->SetAlign(TAlign::alNone);
    item->SetHeight(CornerItemHeight);
    if (2 * item->HostWidth() >= form.ClientWidth) form.ClientHeight += item->HostHeight();
    item->SetTop(form.ClientHeight - item->HostHeight() - CornerGap);
    item->SetLeft(form.ClientWidth - item->HostWidth() - CornerGap);
    item->ContextText = text;
  } catch (const std::exception& e) {
    LogEventEx(&form, "GenMessageDlgEx", std::to_string(linkId) + "\r\n" + text, &e);
    item.reset();
  }
  return item;
}

TDialogControl* AddCheckBox(TMessageForm& form, const std::string& caption, bool checked,
                            TWebHelpLinkGuiItem* link) {
  TDialogControl& box = form.AddControl(TDialogControlKind::CheckBox, "CheckBox");
  box.Caption = caption;
  box.Checked = checked;
  form.ClientHeight += CornerItemHeight;
  const int width = MeasureDialogText(form.Font, caption, 0).Width + 21;
  // The window frame lies outside the client area here, so the form widens by the box alone.
  if (width >= form.ClientWidth) form.ClientWidth = width + 10;
  box.Bounds = {CornerGap, form.ClientHeight - CheckBoxHeight - CornerGap, width, CheckBoxHeight};
  if (link) {
    link->SetTop(link->Top + CornerItemHeight);
    // Both corner items share the bottom row: a narrow dialog widens so they do not overlap.
    const int needed = box.Bounds.Left + width + CornerGap + link->HostWidth() + CornerGap;
    if (needed > form.ClientWidth) {
      form.ClientWidth = needed;
      link->SetLeft(form.ClientWidth - link->HostWidth() - CornerGap);
    }
  }
  return &box;
}

// A message taller than the screen keeps the dialog on it: the message scrolls instead.
void FitOnScreen(TMessageForm& form) {
  const TRect screen = Screen();
  if (screen.Height <= 0 || form.ClientHeight <= screen.Height || !form.Message) return;
  const int excess = form.ClientHeight - screen.Height;
  form.Message->Scrollable = true;
  form.Message->Bounds.Height = std::max(0, form.Message->Bounds.Height - excess);
  form.ClientHeight -= excess;
  for (const auto& control : form.Controls())
    if (control.get() != form.Message && !control->ParentControl()) control->Bounds.Top -= excess;
  form.Top = std::max(form.Top, screen.Top);
}
}  // namespace

std::unique_ptr<TMessageForm> CreateGenMessageDialog(const std::string& text, TMsgDlgType kind,
                                                     TMsgDlgButtons buttons) {
  auto form = std::make_unique<TMessageForm>();
  form->Font = TDialogFont{"Arial", 9, false};
  const TMessageLayoutUnits u = MessageLayoutUnits(AverageCharSize(form->Font));

  int buttonWidth = u.ButtonWidth;
  for (int b = 0; b < MsgDlgBtnCount; ++b)
    if (buttons.Has(static_cast<TMsgDlgBtn>(b)))
      buttonWidth =
          std::max(buttonWidth, CachedButtonWidth(static_cast<TMsgDlgBtn>(b), form->Font));

  const TRect screen = Screen();
  const TTextExtent textRect = MeasureDialogText(form->Font, text, std::max(1, screen.Width / 2));
  const int textWidth = std::max(textRect.Width, MinTextWidth);
  const int textHeight = textRect.Height;

  const int n = buttons.Count();
  const int groupWidth = n > 0 ? n * buttonWidth + (n - 1) * u.ButtonSpacing : 0;
  form->ClientWidth = std::max(textWidth, groupWidth) + 2 * u.HorzMargin;
  form->ClientHeight = textHeight + u.ButtonHeight + u.VertSpacing + 2 * u.VertMargin;
  form->Left = screen.Width / 2 - form->Width() / 2;
  form->Top = screen.Height / 2 - form->Height() / 2;
  form->Caption = MsgDlgKindCaption(kind);

  TDialogControl& message = form->AddControl(TDialogControlKind::Label, "Message");
  message.WordWrap = true;
  message.Caption = text;
  message.RightToLeft = form->RightToLeft;
  const int left =
      message.RightToLeft ? form->ClientWidth - u.HorzMargin - textWidth : u.HorzMargin;
  message.Bounds = {left, u.VertMargin, textWidth, textHeight};
  form->Message = &message;

  form->CancelResult = EscapeResult(buttons);
  int x = (form->ClientWidth - groupWidth) / 2;
  const int y = textHeight + u.VertMargin + u.VertSpacing;
  for (int b = 0; b < MsgDlgBtnCount; ++b) {
    const auto kindOfButton = static_cast<TMsgDlgBtn>(b);
    if (!buttons.Has(kindOfButton)) continue;
    const TMsgDlgButtonInfo& info = MsgDlgButtonInfo(kindOfButton);
    TDialogControl& button = form->AddControl(TDialogControlKind::Button, info.Name);
    button.Caption = LoadStr(info.Caption);
    button.ModalResult = info.ModalResult;
    button.Bounds = {x, y, buttonWidth, u.ButtonHeight};
    if (kindOfButton == TMsgDlgBtn::mbHelp) {
      TMessageForm* owner = form.get();
      button.OnClick = [owner] { owner->OnHelpClick(); };
    }
    x += buttonWidth + u.ButtonSpacing;
  }
  form->PlainText = text;
  form->PlainKind = kind == TMsgDlgType::mtError     ? TMessageKind::mkError
                    : kind == TMsgDlgType::mtWarning ? TMessageKind::mkWarning
                                                     : TMessageKind::mkInformation;
  return form;
}

int GenMessageDlgEx(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                    bool& checked, TMessageHook hook, void* hookData, bool centreOnActive,
                    bool initiallyChecked, const std::string& checkCaption, int linkId,
                    bool stayOnTop) {
  checked = false;
  std::unique_ptr<TMessageForm> form = CreateGenMessageDialog(text, kind, buttons);
  PlaceOverWindow(*form, centreOnActive);
  if (stayOnTop || ActiveFormStaysOnTop()) form->StayOnTop = true;

  std::unique_ptr<TWebHelpLinkGuiItem> link;
  if (linkId != 0) link = AddHelpLink(*form, text, linkId);
  TDialogControl* box = nullptr;
  if (!checkCaption.empty()) box = AddCheckBox(*form, checkCaption, initiallyChecked, link.get());
  FitOnScreen(*form);

  if (reinterpret_cast<uintptr_t>(hook) > 65535) hook(hookData, *form);
  int result = mrNone;
  if (Platform().HasUi()) result = Platform().Ui().ShowDialogForm(*form);
  if (box) checked = box->Checked;
  try {
    if (box) form->RemoveControl(box);
    link.reset();
    form.reset();
  } catch (...) {
    // A dialog that fails to free itself changes nothing the caller asked for.
  }
  return result;
}

int GenMessageDlg(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons) {
  bool checked = false;
  return GenMessageDlgEx(text, kind, buttons, checked, nullptr, nullptr, true, false, {}, 0, false);
}

void GenShowMessage(const std::string& text, TMessageKind kind) {
  // The kind only tells a terminal where the text goes; the dialog looks the same.
  auto setKind = [](void* data, TMessageForm& dialog) {
    dialog.PlainKind = *static_cast<TMessageKind*>(data);
  };
  bool checked = false;
  GenMessageDlgEx(text, TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK}, checked, setKind, &kind, true,
                  false, {}, 0, false);
}
