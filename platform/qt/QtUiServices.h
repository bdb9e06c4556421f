// The user-interface services on Qt Widgets, for the window program.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "platform/UiServices.h"

class QWidget;

class TQtUiServices : public TUiServices {
 public:
  // The program's main window (the first form it creates); none until set.
  void SetMainWindow(QWidget* window) { mainWindow_ = window; }
  // Makes formName show the dialog that factory creates.
  using TFormFactory = std::function<std::unique_ptr<QDialog>()>;
  void RegisterForm(const std::string& formName, TFormFactory factory);

  void ShowMessage(const std::string& text, TMessageKind kind) override;
  void ShowError(const std::string& text) override;
  bool ConfirmYesNo(const std::string& text) override;
  // The hourglass is an application-wide override cursor; the default removes it.
  void SetCursor(TCursorKind cursor) override;
  TCursorKind Cursor() const override { return cursor_; }
  void SetClipboardText(const std::string& text) override;
  bool BrowseForFolder(const TBrowseRequest& request, std::string& folder) override;
  bool ShowForm(const std::string& formName) override;
  TRect ScreenRect() override;
  TRect VirtualScreenRect() override;
  std::optional<TFormInfo> ActiveForm() override;
  std::optional<TFormInfo> MainForm() override;
  std::vector<TFormInfo> OpenForms() override;
  std::optional<TControlInfo> ActiveControl() override;
  std::string ApplicationTitle() override;
  TTextExtent TextExtent(const TDialogFont& font, const std::string& text, int wrapWidth) override;
  int ShowDialogForm(TDialogForm& form) override;

 private:
  TCursorKind cursor_ = TCursorKind::crDefault;
  QPointer<QWidget> mainWindow_;
  std::map<std::string, TFormFactory> forms_;
};

// What the log and placement know of a top-level widget: our forms report their own class,
// unit and component name; Qt's report their meta-object class and object name.
TFormInfo DescribeForm(const QWidget& form);
