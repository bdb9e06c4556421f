#include "ui/MessageForm.h"

#include "common/Format.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "log/EventLog.h"
#include "platform/Platform.h"

TMessageForm::TMessageForm(TComponent* owner) : TDialogForm(owner) {
  OnKeyDown = [this](int key, TShiftState shift) { OnDialogKeyDown(key, shift); };
}

void TMessageForm::OnHelpClick() {
  LogEvent("TMessageForm.OnHelpClick", "HelpContext " + std::to_string(HelpContext));
}

void TMessageForm::OnDialogKeyDown(int key, TShiftState shift) {
  if (shift.Ctrl && !shift.Shift && !shift.Alt && key == VK_C)
    CopyTextToClipboard(BuildDialogText());
}

std::string TMessageForm::BuildDialogText() const {
  const std::string rule = std::string(27, '-') + "\r\n";
  std::string buttons;
  for (const auto& control : Controls())
    if (control->Kind == TDialogControlKind::Button)
      buttons += ReplaceAll(control->Caption, "&", "") + "   ";
  const std::string message = Message ? Message->Caption : std::string();
  return Format("%s%s%s%s%s%s%s%s%s%s",
                {rule, Caption, "\r\n", rule, message, "\r\n", rule, buttons, "\r\n", rule});
}

void TMessageForm::CopyTextToClipboard(const std::string& text) {
  if (!Platform().HasUi()) throw Exception("Cannot open clipboard");
  Platform().Ui().SetClipboardText(text);
}
