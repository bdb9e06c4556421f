#include "app/window/ReplaceProgress.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "common/Format.h"
#include "common/StrTable.h"

namespace {

// The progress window: closing it by the window frame or Escape is refused, it closes when the
// passes end.
class TProgressDialog : public QDialog {
 public:
  using QDialog::QDialog;
  void reject() override {}
};

void ProcessPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

std::string GroupedCount(int64_t count) {
  const std::string digits = std::to_string(count);
  const size_t sign = count < 0 ? 1 : 0;
  std::string grouped = digits.substr(0, sign);
  for (size_t i = sign; i < digits.size(); ++i) {
    if (i > sign && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

TReplaceProgress::TReplaceProgress(QWidget* parent, TClock clock)
    : parent_(parent),
      clock_(std::move(clock)),
      docs_(*this, sProgressDocuments),
      cards_(*this, sProgressCards) {}

TReplaceProgress::~TReplaceProgress() {
  Close();
}

void TReplaceProgress::Close() {
  passTextId_ = sNoText;  // a pass after this (the confirmed run's) starts its second afresh
  if (!window_) return;
  window_->hide();
  window_.reset();
  label_ = nullptr;
  bar_ = nullptr;
  ProcessPendingEvents();  // the window under it repaints before the next message
}

std::string TReplaceProgress::Text() const {
  return label_ ? label_->text().toStdString() : std::string();
}

void TReplaceProgress::Show() {
  auto window = std::make_unique<TProgressDialog>(parent_.data());
  window->setObjectName("ReplaceProgressFrm");
  window->setWindowTitle(QString::fromStdString(LoadStr(sProgressCaption)));
  window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  window->setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(window.get());
  label_ = new QLabel(window.get());
  label_->setObjectName("ProgressLabel");
  label_->setMinimumWidth(280);
  bar_ = new QProgressBar(window.get());
  bar_->setObjectName("ProgressBar");
  bar_->setTextVisible(false);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  window_ = std::move(window);
  window_->adjustSize();
  window_->setFixedSize(window_->size());
  if (parent_) window_->move(parent_->frameGeometry().center() - window_->rect().center());
  window_->show();
}

void TReplaceProgress::Update(TStrId textId, int64_t done, int64_t total) {
  const auto now = clock_();
  const bool newPass = textId != passTextId_;
  if (newPass) {
    passTextId_ = textId;
    passStarted_ = now;
  }
  const bool last = done >= total;
  if (!window_) {
    // A pass that ends within the first second never shows the window.
    if (last || now - passStarted_ < ShowAfter) return ProcessPendingEvents();
    Show();
  } else if (!newPass && !last && now - lastDrawn_ < RefreshInterval) {
    return ProcessPendingEvents();
  }
  label_->setText(
      QString::fromStdString(Format(LoadStr(textId), {GroupedCount(done), GroupedCount(total)})));
  // The bar counts in thousandths, so a table of any size fits its int range.
  bar_->setRange(0, 1000);
  bar_->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 1000);
  lastDrawn_ = now;
  ProcessPendingEvents();
}
