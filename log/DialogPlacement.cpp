#include "log/DialogPlacement.h"

#include <optional>

#include "platform/Platform.h"

namespace {

TRect WholeScreen(TUiServices& ui) {
  const TRect screen = ui.ScreenRect();
  return {0, 0, screen.Width, screen.Height};
}

}  // namespace

void SetDesignedPosition(TPlacedForm& Form) {
  if (Form.Position != TPosition::poDesigned) Form.Position = TPosition::poDesigned;
}

TRect GetDialogReferenceRect(const TFormInfo* RelativeTo, const TPlacedForm& Dialog) {
  TRect area;
  if (!Platform().HasUi()) return area;
  TUiServices& ui = Platform().Ui();
  const std::optional<TFormInfo> active = ui.ActiveForm();
  const std::optional<TFormInfo> main = ui.MainForm();
  const TRect screen = ui.ScreenRect();
  if (active) {
    const bool isDialog = Dialog.Object && active->Object == Dialog.Object;
    const bool smallScreen = screen.Width == 640 && screen.Height == 480;
    if (!main || isDialog || smallScreen) return WholeScreen(ui);
  }
  std::optional<TFormInfo> reference;
  if (RelativeTo) {
    reference = *RelativeTo;
  } else if (!active || active->StayOnTop) {
    reference = main;
  } else if (active->Minimized) {
    area = WholeScreen(ui);
  } else {
    reference = active;
  }
  if (reference)
    area = {reference->ClientLeft, reference->ClientTop, reference->Bounds.Width,
            reference->Bounds.Height};
  return area;
}

void CentreFormOn(TPlacedForm& Dialog, const TFormInfo* RelativeTo) {
  const TRect area = GetDialogReferenceRect(RelativeTo, Dialog);
  if (area.Width <= 0 || area.Height <= 0) return;
  SetDesignedPosition(Dialog);
  Dialog.Left = area.Left + area.Width / 2 - Dialog.Width / 2;
  Dialog.Top = area.Top + area.Height / 2 - Dialog.Height / 2;
}

void CentreOnActiveForm(TPlacedForm& Form) {
  CentreFormOn(Form, nullptr);
}

void CentreOnMainForm(TPlacedForm& Form) {
  std::optional<TFormInfo> main;
  if (Platform().HasUi()) main = Platform().Ui().MainForm();
  CentreFormOn(Form, main ? &*main : nullptr);
}

void CentreInRect(TPlacedForm& Form, const TRect& Rect) {
  Form.Left = Rect.Left + (Rect.Width - Form.Width) / 2;
  Form.Top = Rect.Top + (Rect.Height - Form.Height) / 2;
}

void CentreOnWindow(TPlacedForm& Form, const TFormInfo& Window) {
  CentreInRect(Form, Window.Bounds);
}

TRect GetActiveFormBounds() {
  TRect bounds;
  if (!Platform().HasUi()) return bounds;
  TUiServices& ui = Platform().Ui();
  const TRect virtualScreen = ui.VirtualScreenRect();
  bounds = {0, 0, virtualScreen.Width, virtualScreen.Height};
  if (const std::optional<TFormInfo> active = ui.ActiveForm()) {
    bounds.Width = active->Bounds.Width;
    bounds.Height = active->Bounds.Height;
    bounds.Left = active->MdiChild ? active->ClientLeft : active->Bounds.Left;
    bounds.Top = active->MdiChild ? active->ClientTop : active->Bounds.Top;
  } else if (const std::optional<TFormInfo> main = ui.MainForm()) {
    bounds = main->Bounds;
  }
  return bounds;
}
