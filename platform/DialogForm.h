// A dialog built in code: its caption, client size, font and placed controls, held as plain data
// so the units that build dialogs (the message dialog, the help links) lay them out without a
// window toolkit. The user-interface services measure texts in a dialog font and show a built
// dialog modally (TUiServices::TextExtent, TUiServices::ShowDialogForm).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Forms.h"
#include "platform/UiServices.h"

struct TDialogFont {
  std::string Name = "Arial";
  int Size = 9;  // points
  bool Underline = false;
};

struct TTextExtent {
  int Width = 0;
  int Height = 0;
};

enum class TDialogControlKind { Label, Button, CheckBox, Panel, LinkLabel };
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight };

struct TShiftState {
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
};

// Key codes the dialogs react to (the virtual-key values: letters are their capitals).
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_C = 'C';

class TDialogForm;

// One control of a built dialog. Bounds are relative to the parent: the form's client area,
// or the panel the control sits on.
class TDialogControl : public TControl {
 public:
  TDialogControl(TDialogForm& form, TDialogControlKind kind, std::string name,
                 TDialogControl* parent);
  std::string ClassName() const override;
  std::string UnitName() const override { return "StdCtrls"; }
  TControl* Parent() const override;
  TDialogControl* ParentControl() const { return parent_; }
  void SetParentControl(TDialogControl* parent) { parent_ = parent; }
  TDialogForm& Form() const { return form_; }

  TDialogControlKind Kind;
  std::string Caption;
  std::string Hint;  // tooltip; empty for none
  TRect Bounds;
  TAlign Align = TAlign::alNone;
  bool WordWrap = false;
  bool RightToLeft = false;
  // A message too tall for the screen: shown in a scrolling area of Bounds' height.
  bool Scrollable = false;
  bool Checked = false;
  bool Visible = true;
  int ModalResult = 0;
  int Tag = 0;
  std::function<void()> OnClick;

 private:
  TDialogForm& form_;
  TDialogControl* parent_;
};

class TDialogForm : public TForm {
 public:
  using TForm::TForm;
  std::string ClassName() const override { return "TForm"; }

  std::string Caption;
  // Outer position on the screen; the size is the client size (the window frame is the
  // windowing system's).
  int Left = 0;
  int Top = 0;
  int ClientWidth = 0;
  int ClientHeight = 0;
  TDialogFont Font;
  bool StayOnTop = false;
  bool RightToLeft = false;
  // The modal result the Escape key gives; 0 when Escape does nothing.
  int CancelResult = 0;
  // The dialog's content as one text, for a user interface that cannot show dialogs, and the
  // kind of message it is there (a terminal writes failures to standard error).
  std::string PlainText;
  TMessageKind PlainKind = TMessageKind::mkInformation;
  // Called for every key pressed while the dialog has focus, before its controls see it.
  std::function<void(int key, TShiftState shift)> OnKeyDown;

  int Width() const { return ClientWidth; }
  int Height() const { return ClientHeight; }

  // Controls in creation order; the form owns them.
  const std::vector<std::unique_ptr<TDialogControl>>& Controls() const { return controls_; }
  TDialogControl& AddControl(TDialogControlKind kind, std::string name,
                             TDialogControl* parent = nullptr);
  // Adds a control of a derived class built by the caller.
  TDialogControl& AddControl(std::unique_ptr<TDialogControl> control);
  // Frees control and every control placed on it; unknown controls are ignored.
  void RemoveControl(const TDialogControl* control);
  TDialogControl* FindControl(const std::string& name) const;

 private:
  std::vector<std::unique_ptr<TDialogControl>> controls_;
};

// The estimate a user interface without windows gives: a fixed-pitch font of the size's height.
TTextExtent DefaultTextExtent(const TDialogFont& font, const std::string& text, int wrapWidth);
// A text's extent in a fixed-pitch stand-in font: charWidth per byte, lineHeight per line;
// with wrapWidth > 0 lines break at blanks before they pass wrapWidth (a longer word stands
// alone and widens the result); tabs count as eight characters; "\r\n", "\n\r", "\n" and "\r"
// end lines.
TTextExtent FixedPitchTextExtent(const std::string& text, int wrapWidth, int charWidth,
                                 int lineHeight);
