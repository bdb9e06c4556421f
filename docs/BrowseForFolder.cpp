#include "docs/BrowseForFolder.h"

#include "platform/Platform.h"

TRect WorkingWindowBounds(TUiServices& ui) {
  TRect virtualScreen = ui.VirtualScreenRect();
  TRect bounds{0, 0, virtualScreen.Width, virtualScreen.Height};
  if (auto active = ui.ActiveForm()) {
    bounds = active->Bounds;
    if (active->MdiChild) {
      bounds.Left = active->ClientLeft;
      bounds.Top = active->ClientTop;
    }
  } else if (auto main = ui.MainForm()) {
    bounds = main->Bounds;
  }
  return bounds;
}

bool TBrowseForFolderDialog::Execute() {
  TUiServices& ui = Platform().Ui();
  TBrowseRequest request{Title, InitialFolder, StatusText, WorkingWindowBounds(ui)};
  std::string chosen;
  if (!ui.BrowseForFolder(request, chosen)) return false;
  result_ = chosen;
  return true;
}

bool BrowseForFolder(const std::string& title, const std::string& initialFolder,
                     const std::string& statusText, std::string& folder) {
  TBrowseForFolderDialog dialog;
  dialog.Title = title;
  dialog.StatusText = statusText;
  dialog.InitialFolder = initialFolder;
  if (!dialog.Execute()) return false;
  folder = dialog.ResultPath();
  return true;
}

std::string SelectFolder(const std::string& title, const std::string& initialFolder,
                         const std::string& statusText) {
  std::string folder;
  if (BrowseForFolder(title, initialFolder, statusText, folder)) return folder;
  return initialFolder;
}
