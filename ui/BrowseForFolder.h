// The folder browse dialog: picks a folder for the two folder buttons of the main window. The
// browser itself is the user-interface seam's; this class gathers what it is asked to show and
// where it centres.
#pragma once

#include <optional>
#include <string>

#include "platform/UiServices.h"

class TBrowseForFolderDialog {
 public:
  std::string Title;
  std::string InitialFolder;  // selected when the browser opens; empty: none
  std::string StatusText;     // the browser's status line; empty: no status line

  // Shows the browser modally, centred over the working window; true when a folder was chosen.
  bool Execute();
  // The chosen folder; empty until Execute returned true.
  const std::string& ResultPath() const { return result_; }

 private:
  std::string result_;
};

// Runs the browser; true and folder set when a folder was chosen, false on cancel.
bool BrowseForFolder(const std::string& title, const std::string& initialFolder,
                     const std::string& statusText, std::string& folder);
// The chosen folder, or initialFolder when the user cancels.
std::string SelectFolder(const std::string& title, const std::string& initialFolder,
                         const std::string& statusText);
