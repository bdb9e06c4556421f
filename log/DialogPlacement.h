// Placing dialogs over the window the user is working in. The routines work on a form
// description (TPlacedForm) and read the screen, the active form and the main window from the
// user-interface services (Platform().Ui()), so they run without a display. A window toolkit
// adapts its form: copy the form's geometry and placement mode into a TPlacedForm, call the
// routine, then apply Left, Top and Position back.
#pragma once

#include "platform/UiServices.h"

class TObject;

// How a form is placed when shown; poDesigned uses its own Left and Top.
enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};

struct TPlacedForm {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  TPosition Position = TPosition::poDesigned;
  // The form object, to recognise it as the active form (TFormInfo::Object); may be none.
  const TObject* Object = nullptr;
};

// Switches the placement mode to poDesigned when it is anything else.
void SetDesignedPosition(TPlacedForm& Form);
// The area a dialog is centred on: the whole screen when there is an active form and no main
// window yet, the active form is Dialog itself, or the screen is exactly 640 x 480; otherwise
// RelativeTo, or the main window (no active form, or a stay-on-top one), or the whole screen
// (active form minimised), or the active form: its client origin with its outer size. All 0
// when there is nothing to centre on.
TRect GetDialogReferenceRect(const TFormInfo* RelativeTo, const TPlacedForm& Dialog);
// Centres Dialog on that area (designed placement); leaves it alone when the area is empty.
void CentreFormOn(TPlacedForm& Dialog, const TFormInfo* RelativeTo);
void CentreOnActiveForm(TPlacedForm& Form);
void CentreOnMainForm(TPlacedForm& Form);
// Centres Form in a rectangle in screen coordinates; the placement mode is not changed.
void CentreInRect(TPlacedForm& Form, const TRect& Rect);
// Centres Form on the window's outer rectangle as the windowing system reports it.
void CentreOnWindow(TPlacedForm& Form, const TFormInfo& Window);
// The window the user is working in: the active form (client origin for an MDI child, else its
// left and top; its size), else the main window, else the virtual screen at 0, 0.
TRect GetActiveFormBounds();
