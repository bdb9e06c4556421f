// User-interface services: message boxes, cursor, clipboard, folder browser and the window
// geometry and form list that placement and the log read. The window program supplies Qt, the
// console program a terminal, tests a scripted fake.
#pragma once

#include <optional>
#include <string>
#include <vector>

class TObject;
class TDialogForm;
struct TDialogFont;
struct TTextExtent;

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

enum class TCursorKind { crDefault, crHourGlass };

// What a plain message tells: chosen by the code that shows it. The window shows every kind in
// the same plain box; the terminal prints information on standard output and the others on
// standard error.
enum class TMessageKind { mkInformation, mkWarning, mkError };

// What the log and the placement routines need to know of one open form.
struct TFormInfo {
  std::string ClassName;
  std::string Name;
  std::string Caption;
  std::string UnitName;
  bool Visible = true;
  bool Minimized = false;
  bool StayOnTop = false;
  bool MdiChild = false;
  TRect Bounds;        // outer rectangle in screen coordinates
  int ClientLeft = 0;  // screen position of the client area's origin
  int ClientTop = 0;
  const TObject* Object = nullptr;  // the form object itself, when it is one of ours
};

// The focused control of the active form.
struct TControlInfo {
  std::string ClassName;
  std::string Name;
  std::string UnitName;
  // Nearest parent with a name: " " + name + " " + class name, or empty.
  std::string NamedParentText;
};

// A folder browser request: title, initial folder (empty: none) and status text (empty: no
// status line).
struct TBrowseRequest {
  std::string Title;
  std::string InitialFolder;
  std::string StatusText;
  // Bounds of the window the user works in; the browser centres itself over them. None: the
  // implementation's own placement.
  std::optional<TRect> CentreOver;
};

class TUiServices {
 public:
  virtual ~TUiServices() = default;

  // Plain message with an OK button.
  virtual void ShowMessage(const std::string& text, TMessageKind kind) = 0;
  // Error box with an OK button.
  virtual void ShowError(const std::string& text) = 0;
  // Yes/No confirmation; true only for Yes.
  virtual bool ConfirmYesNo(const std::string& text) = 0;

  virtual void SetCursor(TCursorKind cursor) = 0;
  virtual TCursorKind Cursor() const = 0;

  virtual void SetClipboardText(const std::string& text) = 0;

  // Shows the folder browser modally; true and the chosen folder when one was chosen.
  virtual bool BrowseForFolder(const TBrowseRequest& request, std::string& folder) = 0;

  // Shows the form the program registered under formName, modally. The seam shows forms; it
  // does not know them: each implementation holds what its program registered. False when no
  // form of that name is registered.
  virtual bool ShowForm(const std::string& formName) = 0;

  // Geometry and forms, for dialog placement and the log's context texts.
  virtual TRect ScreenRect() = 0;         // the primary screen
  virtual TRect VirtualScreenRect() = 0;  // all monitors
  virtual std::optional<TFormInfo> ActiveForm() = 0;
  virtual std::optional<TFormInfo> MainForm() = 0;
  virtual std::vector<TFormInfo> OpenForms() = 0;
  virtual std::optional<TControlInfo> ActiveControl() = 0;
  virtual std::string ApplicationTitle() = 0;

  // Dialogs built in code (platform/DialogForm.h). The extent of text in font: on one line when
  // wrapWidth is 0, else broken at words within wrapWidth, tabs expanded. Without windows: a
  // fixed-pitch estimate.
  virtual TTextExtent TextExtent(const TDialogFont& font, const std::string& text, int wrapWidth);
  // Shows form modally and returns the modal result of the button pressed; check boxes keep
  // their final state in the form. Without windows: the form's plain text as a plain message,
  // answered as the Escape key would.
  virtual int ShowDialogForm(TDialogForm& form);
};
