#include "platform/qt/QtDialogForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "common/StrUtils.h"
#include "platform/qt/QtForms.h"

namespace {
constexpr int TextFlags = Qt::TextWordWrap | Qt::TextExpandTabs;

// Windows line ends ("\r\n", and "\n\r" in some texts) as Qt's line feed.
QString DisplayText(const std::string& text) {
  QString q = QString::fromStdString(text);
  q.replace("\r\n", "\n");
  q.replace("\n\r", "\n");
  q.replace('\r', '\n');
  return q;
}

QColor FromWindowsColour(int colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// A message text drawn exactly as QtTextExtent measured it.
class TQtMessageText : public QWidget {
 public:
  TQtMessageText(const QString& text, bool rightToLeft, QWidget* parent)
      : QWidget(parent), text_(text), rightToLeft_(rightToLeft) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int align = rightToLeft_ ? Qt::AlignRight : Qt::AlignLeft;
    painter.drawText(rect(), TextFlags | align | Qt::AlignTop, text_);
  }

 private:
  QString text_;
  bool rightToLeft_;
};

// The help link label: underlined, in the link colour, with a hand cursor.
class TQtVrlHelpLbl : public QLabel {
 public:
  TQtVrlHelpLbl(TDialogControl& control, QWidget* parent)
      : QLabel(QString::fromStdString(control.Caption), parent), control_(control) {
    setTextFormat(Qt::PlainText);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, FromWindowsColour(LinkColour()));
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()) && control_.OnClick) control_.OnClick();
  }

 private:
  TDialogControl& control_;
};

int KeyCode(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Escape) return VK_ESCAPE;
  return event.key() < 256 ? event.key() : 0;
}
}  // namespace

QFont DialogQFont(const TDialogFont& font) {
  // Points at 96 dots per inch, as the product's forms were laid out.
  QFont q = FormFont(QString::fromStdString(font.Name), (font.Size * 96 + 36) / 72);
  q.setUnderline(font.Underline);
  return q;
}

TTextExtent QtTextExtent(const TDialogFont& font, const std::string& text, int wrapWidth) {
  const QFontMetrics metrics(DialogQFont(font));
  const QString q = DisplayText(text);
  const QRect r = wrapWidth > 0 ? metrics.boundingRect(QRect(0, 0, wrapWidth, 0), TextFlags, q)
                                : metrics.boundingRect(QRect(0, 0, 0, 0), Qt::TextSingleLine, q);
  return {r.width(), r.height()};
}

TQtDialogWindow::TQtDialogWindow(TDialogForm& form, QWidget* parent)
    : QDialog(parent), form_(form) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (form.StayOnTop) flags |= Qt::WindowStaysOnTopHint;
  setWindowFlags(flags);
  setObjectName(QString::fromStdString(form.Name()));
  setWindowTitle(QString::fromStdString(form.Caption));
  setFont(DialogQFont(form.Font));
  setLayoutDirection(form.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  setBackgroundRole(QPalette::Base);  // the system window colour
  setAutoFillBackground(true);
  setFixedSize(form.ClientWidth, form.ClientHeight);
  move(form.Left, form.Top);
  for (const auto& control : form.Controls()) {
    QWidget* parentWidget =
        control->ParentControl() ? ControlWidget(*control->ParentControl()) : this;
    widgets_.emplace_back(control.get(), Build(*control, parentWidget ? parentWidget : this));
  }
}

QWidget* TQtDialogWindow::ControlWidget(const TDialogControl& control) const {
  for (const auto& [c, widget] : widgets_)
    if (c == &control) return widget;
  return nullptr;
}

QWidget* TQtDialogWindow::Build(TDialogControl& control, QWidget* parent) {
  const TRect& b = control.Bounds;
  QWidget* widget = nullptr;
  switch (control.Kind) {
    case TDialogControlKind::Label:
      if (control.Scrollable) {
        auto* area = new QScrollArea(parent);
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        const int inner = b.Width - area->verticalScrollBar()->sizeHint().width();
        const TTextExtent full = QtTextExtent(form_.Font, control.Caption, inner);
        auto* text = new TQtMessageText(DisplayText(control.Caption), control.RightToLeft, area);
        text->setFixedSize(inner, full.Height);
        area->setWidget(text);
        widget = area;
      } else {
        widget = new TQtMessageText(DisplayText(control.Caption), control.RightToLeft, parent);
      }
      break;
    case TDialogControlKind::Button: {
      auto* button = new QPushButton(QString::fromStdString(control.Caption), parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      QObject::connect(button, &QPushButton::clicked, this, [this, &control] {
        if (control.OnClick) control.OnClick();
        if (control.ModalResult != 0) done(control.ModalResult);
      });
      widget = button;
      break;
    }
    case TDialogControlKind::CheckBox: {
      auto* box = new QCheckBox(QString::fromStdString(control.Caption), parent);
      box->setChecked(control.Checked);
      QObject::connect(box, &QCheckBox::toggled, this,
                       [&control](bool on) { control.Checked = on; });
      widget = box;
      break;
    }
    case TDialogControlKind::Panel:
      widget = new QWidget(parent);
      break;
    case TDialogControlKind::LinkLabel:
      widget = new TQtVrlHelpLbl(control, parent);
      break;
  }
  widget->setObjectName(QString::fromStdString(control.Name()));
  if (!control.Hint.empty()) widget->setToolTip(QString::fromStdString(control.Hint));
  widget->setGeometry(b.Left, b.Top, b.Width, b.Height);
  widget->setVisible(control.Visible);
  return widget;
}

void TQtDialogWindow::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers m = event->modifiers();
  const TShiftState shift{m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
                          m.testFlag(Qt::AltModifier)};
  const int key = KeyCode(*event);
  if (form_.OnKeyDown && key != 0) form_.OnKeyDown(key, shift);
  if (key == VK_ESCAPE) {
    if (form_.CancelResult != 0) done(form_.CancelResult);
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TQtDialogWindow::reject() {
  done(2);
}

int ExecQtDialog(TDialogForm& form) {
  QWidget* parent = form.StayOnTop ? nullptr : QApplication::activeWindow();
  TQtDialogWindow window(form, parent);
  window.setModal(true);
  return window.exec();
}
