// Dialogs built in code (platform/DialogForm.h) shown as Qt dialogs: every control at the
// bounds its builder computed, texts measured and drawn with the same Qt font metrics, so what
// the builder laid out is what the user sees. Where the named font is missing a sans-serif
// font of the same height stands in (QtForms.h).
#pragma once

#include <QDialog>
#include <QFont>
#include <utility>
#include <vector>

#include "platform/DialogForm.h"

class TQtDialogWindow : public QDialog {
 public:
  // Builds the window of form; form must outlive it. parent: the popup parent (none on top).
  TQtDialogWindow(TDialogForm& form, QWidget* parent);
  // The widget standing for control, or none.
  QWidget* ControlWidget(const TDialogControl& control) const;
  // Closing the window answers Cancel (2), as a closed dialog does.
  void reject() override;

 protected:
  // Every key reaches the form's key handler first; Escape gives the form's cancel result.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* Build(TDialogControl& control, QWidget* parent);

  TDialogForm& form_;
  std::vector<std::pair<const TDialogControl*, QWidget*>> widgets_;
};

QFont DialogQFont(const TDialogFont& font);
// The extent of text in font, measured as the dialog draws it.
TTextExtent QtTextExtent(const TDialogFont& font, const std::string& text, int wrapWidth);
// Shows form modally over the active window (or on top of everything when it stays on top),
// keeps the check boxes' states in form and returns the modal result.
int ExecQtDialog(TDialogForm& form);
