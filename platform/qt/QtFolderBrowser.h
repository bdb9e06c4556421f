// The folder browser on Qt: a directory-only file dialog (Qt's own, not the desktop's, so that it
// can be placed), centred over the working window, with a status line only when a status text
// is set and the initial folder selected when it exists.
#pragma once

#include <string>

#include "platform/UiServices.h"

class QFileDialog;

// Prepares dialog for request: mode, title, status line, initial selection and position.
void SetUpFolderBrowser(QFileDialog& dialog, const TBrowseRequest& request);
// Runs the browser modally; true and the chosen folder (native separators) when one was chosen.
bool RunFolderBrowser(const TBrowseRequest& request, std::string& folder);
