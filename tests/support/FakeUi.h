// A scripted user interface: records every message and answers confirmations and folder
// browsers from queues set by the test.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/UiServices.h"

class TFakeUi : public TUiServices {
 public:
  // What was shown, in order.
  std::vector<std::string> Messages;
  std::vector<TMessageKind> MessageKinds;  // the kind of each of Messages
  std::vector<std::string> Errors;
  std::vector<std::string> Confirmations;
  std::vector<TBrowseRequest> BrowseRequests;
  std::vector<TCursorKind> CursorHistory;
  std::vector<std::string> ShownForms;
  std::string Clipboard;

  // Answers: confirmations default to No when the queue is empty; a folder browser answers
  // the next queued folder, or cancels on an empty optional or an empty queue.
  std::deque<bool> ConfirmAnswers;
  std::deque<std::optional<std::string>> BrowseAnswers;
  // What happens elsewhere while the user reads a confirmation (another station at work).
  std::function<void(const std::string& text)> WhileConfirming;

  TRect Screen{0, 0, 1920, 1080};
  TRect VirtualScreen{0, 0, 1920, 1080};
  std::optional<TFormInfo> Active;
  std::optional<TFormInfo> Main;
  std::vector<TFormInfo> Forms;
  std::optional<TControlInfo> Control;
  std::string Title;

  void ShowMessage(const std::string& text, TMessageKind kind) override {
    Messages.push_back(text);
    MessageKinds.push_back(kind);
  }
  void ShowError(const std::string& text) override { Errors.push_back(text); }
  bool ConfirmYesNo(const std::string& text) override {
    Confirmations.push_back(text);
    if (WhileConfirming) WhileConfirming(text);
    if (ConfirmAnswers.empty()) return false;
    bool answer = ConfirmAnswers.front();
    ConfirmAnswers.pop_front();
    return answer;
  }
  void SetCursor(TCursorKind cursor) override {
    cursor_ = cursor;
    CursorHistory.push_back(cursor);
  }
  TCursorKind Cursor() const override { return cursor_; }
  void SetClipboardText(const std::string& text) override { Clipboard = text; }
  bool BrowseForFolder(const TBrowseRequest& request, std::string& folder) override {
    BrowseRequests.push_back(request);
    if (BrowseAnswers.empty()) return false;
    auto answer = BrowseAnswers.front();
    BrowseAnswers.pop_front();
    if (!answer) return false;
    folder = *answer;
    return true;
  }
  bool ShowForm(const std::string& formName) override {
    ShownForms.push_back(formName);
    return true;
  }
  TRect ScreenRect() override { return Screen; }
  TRect VirtualScreenRect() override { return VirtualScreen; }
  std::optional<TFormInfo> ActiveForm() override { return Active; }
  std::optional<TFormInfo> MainForm() override { return Main; }
  std::vector<TFormInfo> OpenForms() override { return Forms; }
  std::optional<TControlInfo> ActiveControl() override { return Control; }
  std::string ApplicationTitle() override { return Title; }

 private:
  TCursorKind cursor_ = TCursorKind::crDefault;
};

// The messages as specified, without the lines the window adds under them (after a blank line):
// the confirmation's question, "Operation completed".
inline std::vector<std::string> WithoutAddedLines(const std::vector<std::string>& shown) {
  std::vector<std::string> heads;
  for (const std::string& text : shown) heads.push_back(text.substr(0, text.find("\r\n\r\n")));
  return heads;
}
