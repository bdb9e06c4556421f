// The product's message dialog form: a word-wrapped message and a row of buttons, built in code
// by CreateGenMessageDialog (ui/GenMsg_Unit.h). Ctrl+C copies its whole content as plain text.
#pragma once

#include <string>

#include "platform/DialogForm.h"

class TMessageForm : public TDialogForm {
 public:
  explicit TMessageForm(TComponent* owner = nullptr);
  std::string ClassName() const override { return "TMessageForm"; }
  std::string UnitName() const override { return "GenMsg_Unit"; }

  // The word-wrapped message label.
  TDialogControl* Message = nullptr;
  // Help topic of the Help button.
  int HelpContext = 0;

  // The Help button's click. This program ships no help file: the request is written to the
  // event log with the context number.
  void OnHelpClick();
  // Exactly Ctrl (no Shift, no Alt) with C copies BuildDialogText to the clipboard.
  void OnDialogKeyDown(int key, TShiftState shift);
  // Caption, message and button captions ("&" removed, each followed by three blanks) between
  // rules of 27 hyphens, with "\r\n" line ends.
  std::string BuildDialogText() const;
  // Puts text on the clipboard as plain text; "Cannot open clipboard" without a user interface.
  void CopyTextToClipboard(const std::string& text);
};
