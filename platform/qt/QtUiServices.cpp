#include "platform/qt/QtUiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include "common/Classes.h"
#include "platform/qt/QtClassNames.h"
#include "platform/qt/QtDialogForm.h"
#include "platform/qt/QtFolderBrowser.h"

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

TRect ToRect(const QRect& r) {
  return TRect{r.left(), r.top(), r.width(), r.height()};
}

// The message boxes carry the application title as caption, like the product's own boxes.
int Box(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton) {
  QMessageBox box(icon, QApplication::applicationDisplayName(), Q(text), buttons,
                  QApplication::activeWindow());
  box.setDefaultButton(defaultButton);
  return box.exec();
}

}  // namespace

TFormInfo DescribeForm(const QWidget& form) {
  TFormInfo info;
  if (const auto* object = dynamic_cast<const TObject*>(&form)) {
    info.ClassName = object->ClassName();
    info.UnitName = object->UnitName();
    info.Object = object;
  } else {
    const TQtClassName names = QtClassName(form);
    info.ClassName = names.ClassName;
    info.UnitName = names.UnitName;
  }
  if (const auto* component = dynamic_cast<const TComponent*>(&form))
    info.Name = component->Name();
  else
    info.Name = form.objectName().toStdString();
  info.Caption = form.windowTitle().toStdString();
  info.Visible = form.isVisible();
  info.Minimized = form.isMinimized();
  info.StayOnTop = form.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  info.Bounds = ToRect(form.frameGeometry());
  const QPoint client = form.mapToGlobal(QPoint(0, 0));
  info.ClientLeft = client.x();
  info.ClientTop = client.y();
  return info;
}

void TQtUiServices::ShowMessage(const std::string& text, TMessageKind) {
  // The product's plain box has no icon, whatever the message tells.
  Box(QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

void TQtUiServices::ShowError(const std::string& text) {
  Box(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool TQtUiServices::ConfirmYesNo(const std::string& text) {
  return Box(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}

void TQtUiServices::SetCursor(TCursorKind cursor) {
  if (cursor == cursor_) return;
  if (cursor == TCursorKind::crHourGlass)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  cursor_ = cursor;
}

void TQtUiServices::SetClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(Q(text));
}

bool TQtUiServices::BrowseForFolder(const TBrowseRequest& request, std::string& folder) {
  return RunFolderBrowser(request, folder);
}

void TQtUiServices::RegisterForm(const std::string& formName, TFormFactory factory) {
  forms_[formName] = std::move(factory);
}

bool TQtUiServices::ShowForm(const std::string& formName) {
  auto it = forms_.find(formName);
  if (it == forms_.end()) return false;
  std::unique_ptr<QDialog> form = it->second();
  form->exec();
  return true;
}

TRect TQtUiServices::ScreenRect() {
  QScreen* screen = QApplication::primaryScreen();
  return screen ? ToRect(screen->geometry()) : TRect{};
}

TRect TQtUiServices::VirtualScreenRect() {
  QScreen* screen = QApplication::primaryScreen();
  return screen ? ToRect(screen->virtualGeometry()) : TRect{};
}

std::optional<TFormInfo> TQtUiServices::ActiveForm() {
  if (QWidget* active = QApplication::activeWindow()) return DescribeForm(*active);
  return std::nullopt;
}

std::optional<TFormInfo> TQtUiServices::MainForm() {
  if (mainWindow_) return DescribeForm(*mainWindow_);
  return std::nullopt;
}

std::vector<TFormInfo> TQtUiServices::OpenForms() {
  std::vector<TFormInfo> forms;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isWindow() && widget->isVisible()) forms.push_back(DescribeForm(*widget));
  return forms;
}

std::optional<TControlInfo> TQtUiServices::ActiveControl() {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return std::nullopt;
  TControlInfo info;
  if (const auto* object = dynamic_cast<const TObject*>(focus)) {
    info.ClassName = object->ClassName();
    info.UnitName = object->UnitName();
  } else {
    const TQtClassName names = QtClassName(*focus);
    info.ClassName = names.ClassName;
    info.UnitName = names.UnitName;
  }
  info.Name = focus->objectName().toStdString();
  for (QWidget* parent = focus->parentWidget(); parent; parent = parent->parentWidget()) {
    if (parent->objectName().isEmpty()) continue;
    info.NamedParentText =
        " " + parent->objectName().toStdString() + " " + DescribeForm(*parent).ClassName;
    break;
  }
  return info;
}

std::string TQtUiServices::ApplicationTitle() {
  return QApplication::applicationDisplayName().toStdString();
}

TTextExtent TQtUiServices::TextExtent(const TDialogFont& font, const std::string& text,
                                      int wrapWidth) {
  return QtTextExtent(font, text, wrapWidth);
}

int TQtUiServices::ShowDialogForm(TDialogForm& form) {
  return ExecQtDialog(form);
}
