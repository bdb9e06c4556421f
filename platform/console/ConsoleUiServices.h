// The user-interface services on a terminal: messages are printed, information on the output
// stream and warnings and errors on the error stream; a confirmation is read from the input stream
// when it is a terminal. There are no windows: the folder browser cancels and the geometry is
// empty.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "platform/UiServices.h"

struct TConsoleUiOptions {
  bool InputIsTerminal = false;
  bool AssumeYes = false;  // every confirmation answered Yes without asking
  // Also given every warning and error told on the error stream, as it is told.
  std::function<void(const std::string&)> Told = nullptr;
};

class TConsoleUiServices : public TUiServices {
 public:
  TConsoleUiServices(std::istream& in, std::ostream& out, std::ostream& err,
                     TConsoleUiOptions options);

  // The last confirmation was refused because no terminal could answer it.
  bool RefusedWithoutTerminal() const { return refusedWithoutTerminal_; }

  void ShowMessage(const std::string& text, TMessageKind kind) override;
  void ShowError(const std::string& text) override;
  // Asks on the terminal: "y" or "yes" (any letter case) accepts, anything else refuses.
  bool ConfirmYesNo(const std::string& text) override;
  void SetCursor(TCursorKind cursor) override { cursor_ = cursor; }
  TCursorKind Cursor() const override { return cursor_; }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }
  bool BrowseForFolder(const TBrowseRequest& request, std::string& folder) override;
  // Makes formName print text on the error stream (a form on a terminal is its text).
  void RegisterForm(const std::string& formName, std::string text);
  bool ShowForm(const std::string& formName) override;
  TRect ScreenRect() override { return {}; }
  TRect VirtualScreenRect() override { return {}; }
  std::optional<TFormInfo> ActiveForm() override { return std::nullopt; }
  std::optional<TFormInfo> MainForm() override { return std::nullopt; }
  std::vector<TFormInfo> OpenForms() override { return {}; }
  std::optional<TControlInfo> ActiveControl() override { return std::nullopt; }
  std::string ApplicationTitle() override;

 private:
  void TellProblem(const std::string& text);

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  TConsoleUiOptions options_;
  TCursorKind cursor_ = TCursorKind::crDefault;
  std::string clipboard_;
  std::map<std::string, std::string> forms_;
  bool refusedWithoutTerminal_ = false;
};
