#include "ui/BrowseForFolder.h"

#include "log/DialogPlacement.h"
#include "platform/Platform.h"

bool TBrowseForFolderDialog::Execute() {
  TUiServices& ui = Platform().Ui();
  TBrowseRequest request{Title, InitialFolder, StatusText, GetActiveFormBounds()};
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
