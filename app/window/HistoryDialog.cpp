#include "app/window/HistoryDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/RunListLine.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/journal/PathJournal.h"
#include "platform/EADSDatabaseError.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {

QPushButton* AddButton(QHBoxLayout& row, QWidget* parent, const char* name, TStrId text) {
  auto* button = new QPushButton(QString::fromStdString(LoadStr(text)), parent);
  button->setObjectName(name);
  button->setAutoDefault(false);  // Enter starts nothing by itself
  button->setDefault(false);
  row.addWidget(button);
  return button;
}

}  // namespace

THistoryDialog::THistoryDialog(QWidget* parent, TRunAction undo, TRunAction resume)
    : QDialog(parent), undoRun_(std::move(undo)), resumeRun_(std::move(resume)) {
  setObjectName("HistoryFrm");
  setWindowTitle(QString::fromStdString(LoadStr(sHistoryCaption)));
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName("RunList");
  list_->setMinimumSize(560, 200);
  layout->addWidget(list_);
  auto* row = new QHBoxLayout();
  row->addStretch();
  undo_ = AddButton(*row, this, "UndoButton", sHistoryUndo);
  resume_ = AddButton(*row, this, "ResumeButton", sHistoryResume);
  close_ = AddButton(*row, this, "CloseButton", sHistoryClose);
  layout->addLayout(row);
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
  connect(undo_, &QPushButton::clicked, this, [this] { UndoSelected(); });
  connect(resume_, &QPushButton::clicked, this, [this] { ResumeSelected(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
}

void THistoryDialog::Refresh() {
  list_->clear();
  try {
    TPathJournal journal;
    if (!journal.Exists()) {
      auto* none = new QListWidgetItem(QString::fromStdString(LoadStr(sHistoryNoRuns)), list_);
      none->setFlags(Qt::NoItemFlags);
    } else {
      std::vector<TPathRun> runs = journal.Runs();
      std::reverse(runs.begin(), runs.end());  // newest first
      for (const TPathRun& run : runs) {
        auto* item = new QListWidgetItem(QString::fromStdString(RunListLine(run)), list_);
        item->setData(Qt::UserRole, QString::fromStdString(run.RunId));
      }
    }
  } catch (const EADSDatabaseError& e) {
    list_->clear();
    Platform().Ui().ShowMessage(Format(LoadStr(sJournalUnreadable), {e.Message()}),
                                TMessageKind::mkError);
  }
  if (list_->count() > 0 && (list_->item(0)->flags() & Qt::ItemIsSelectable))
    list_->setCurrentRow(0);
  SelectionChanged();
}

std::string THistoryDialog::SelectedRun() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return {};
  return selected.front()->data(Qt::UserRole).toString().toStdString();
}

void THistoryDialog::UndoSelected() {
  Run(undoRun_);
}

void THistoryDialog::ResumeSelected() {
  Run(resumeRun_);
}

void THistoryDialog::SelectionChanged() {
  const bool selected = !SelectedRun().empty();
  undo_->setEnabled(selected);
  resume_->setEnabled(selected);
}

void THistoryDialog::Run(const TRunAction& action) {
  const std::string runId = SelectedRun();
  if (runId.empty() || !action) return;
  action(runId);
  Refresh();
}
