#include "platform/qt/QtFolderBrowser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

void SetUpFolderBrowser(QFileDialog& dialog, const TBrowseRequest& request) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setWindowTitle(QString::fromStdString(request.Title));

  if (!request.StatusText.empty()) {
    auto* status = new QLabel(QString::fromStdString(request.StatusText), &dialog);
    status->setObjectName("StatusLine");
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
      grid->addWidget(status, grid->rowCount(), 0, 1, grid->columnCount());
  }

  if (!request.InitialFolder.empty()) {
    const QFileInfo initial(QString::fromStdString(request.InitialFolder));
    if (initial.isDir()) {
      dialog.setDirectory(initial.absolutePath());
      dialog.selectFile(initial.absoluteFilePath());
    }
  }

  if (request.CentreOver) {
    // Centred over the working window, halves truncated, no clamping to the screen.
    const TRect& over = *request.CentreOver;
    dialog.adjustSize();
    const QSize size = dialog.frameGeometry().size();
    dialog.move(over.Left + over.Width / 2 - size.width() / 2,
                over.Top + over.Height / 2 - size.height() / 2);
  }
}

bool RunFolderBrowser(const TBrowseRequest& request, std::string& folder) {
  QFileDialog dialog(QApplication::activeWindow());
  SetUpFolderBrowser(dialog, request);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  folder = QDir::toNativeSeparators(chosen.first()).toStdString();
  return true;
}
