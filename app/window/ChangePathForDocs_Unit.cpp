#include "app/window/ChangePathForDocs_Unit.h"

#include <QCoreApplication>

#include "app/units/StartupSequence.h"
#include "app/window/FolderGlyph.h"
#include "app/window/HistoryDialog.h"
#include "app/window/ReplaceProgress.h"
#include "app/window/RunSummaryText.h"
#include "app/window/StoredFolderCompleter.h"
#include "commands/PathUndoCommand.h"
#include "commands/ReplaceCommand.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "db/DatGenDBConnectionDM.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "platform/qt/QtForms.h"
#include "settings/DatPrefDM_Unit.h"
#include "ui/BrowseForFolder.h"
#include "ui_ChangePathForDocs_Unit.h"

TChangePathForDocsFrm::TChangePathForDocsFrm(QWidget* parent)
    : QWidget(parent),
      TForm(nullptr, "ChangePathForDocsFrm"),
      ui_(std::make_unique<Ui::TChangePathForDocsFrm>()) {
  ui_->setupUi(this);
  // The layout is in pixels and is not scaled; "MS Sans Serif" of character height 14, or a
  // sans-serif stand-in of that height.
  ApplyFormFont(this, "MS Sans Serif", 14);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  Label1()->adjustSize();
  Label2()->adjustSize();
  const QIcon glyph = FolderGlyph();
  for (QToolButton* button : {SpeedButton3(), SpeedButton1()}) {
    button->setIcon(glyph);
    button->setIconSize(QSize(16, 16));
  }
  CentreOnScreen(this);

  connect(Button1(), &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
  connect(Button2(), &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
  connect(Button3(), &QPushButton::clicked, this, [this] { Guarded([this] { Button3Click(); }); });
  connect(SpeedButton3(), &QToolButton::clicked, this,
          [this] { Guarded([this] { SpeedButton3Click(); }); });
  connect(SpeedButton1(), &QToolButton::clicked, this,
          [this] { Guarded([this] { SpeedButton1Click(); }); });

  FormCreate();
}

TChangePathForDocsFrm::~TChangePathForDocsFrm() = default;

template <typename Handler>
void TChangePathForDocsFrm::Guarded(Handler handler) {
  try {
    handler();
  } catch (...) {
    HandleEscapedException();
  }
}

QPushButton* TChangePathForDocsFrm::Button1() const {
  return ui_->Button1;
}
QPushButton* TChangePathForDocsFrm::Button2() const {
  return ui_->Button2;
}
QPushButton* TChangePathForDocsFrm::Button3() const {
  return ui_->Button3;
}
QFrame* TChangePathForDocsFrm::Panel1() const {
  return ui_->Panel1;
}
QLabel* TChangePathForDocsFrm::Label1() const {
  return ui_->Label1;
}
QLineEdit* TChangePathForDocsFrm::Edit1() const {
  return ui_->Edit1;
}
QLineEdit* TChangePathForDocsFrm::Edit2() const {
  return ui_->Edit2;
}
QLabel* TChangePathForDocsFrm::Label2() const {
  return ui_->Label2;
}
QToolButton* TChangePathForDocsFrm::SpeedButton3() const {
  return ui_->SpeedButton3;
}
QToolButton* TChangePathForDocsFrm::SpeedButton1() const {
  return ui_->SpeedButton1;
}

void TChangePathForDocsFrm::FormCreate() {
  startedUp_ = RunStartupChecks(this, &EurekaLog1) == TStartupOutcome::Ready;
  if (!startedUp_) return;
  TDocPref doc;
  GetDocPref(doc);
  DocPref = doc;
  Edit1()->setText(QString::fromStdString(DocPref.MainFolder));
  AttachStoredFolderCompleter(*Edit1(), this);
}

void TChangePathForDocsFrm::Button1Click() {
  const std::string oldPath = Edit1()->text().toStdString();
  const std::string newPath = Edit2()->text().toStdString();
  TReplaceProgress progress(this);
  TReplaceOptions options;
  options.DocsObserver = &progress.Docs();
  options.CardsObserver = &progress.Cards();
  options.PassesEnded = [&progress] { progress.Close(); };
  // The confirmation says what will change: the pre-flight's reading, under its own progress.
  options.ConfirmDetail = [&] {
    const TPreflightReport report = MakePreflightReport(UpperCase(oldPath), newPath, TFileCheck{},
                                                        &progress.Docs(), &progress.Cards());
    progress.Close();
    return ReplaceConfirmLines(report, oldPath, newPath);
  };
  options.CompletionDetail = CompletionLines;
  RunEnded(ReplaceDocsPath(*this, oldPath, newPath, options));
}

void TChangePathForDocsFrm::RunEnded(const TCommandResult& result) {
  if (result.Outcome == TCommandOutcome::Interrupted) {
    // The log tells what was kept and how to resume it.
    QCoreApplication::exit(StoppedExitCode(result.StopSignal));
    return;
  }
  if (const std::string kept = IncompleteRunText(result); !kept.empty())
    Platform().Ui().ShowMessage(kept, TMessageKind::mkWarning);
}

void TChangePathForDocsFrm::Button3Click() {
  CreateHistory()->exec();
}

std::unique_ptr<THistoryDialog> TChangePathForDocsFrm::CreateHistory() {
  return std::make_unique<THistoryDialog>(
      this, [this](const std::string& runId) { Guarded([&] { UndoRun(runId); }); },
      [this](const std::string& runId) { Guarded([&] { ResumeRun(runId); }); });
}

void TChangePathForDocsFrm::UndoRun(const std::string& runId) {
  RunJournalCommand(runId, true);
}

void TChangePathForDocsFrm::ResumeRun(const std::string& runId) {
  RunJournalCommand(runId, false);
}

void TChangePathForDocsFrm::RunJournalCommand(const std::string& runId, bool undo) {
  auto run = [&](const TReplaceOptions& options) {
    return undo ? UndoPathRun(*this, runId, options) : ResumePathRun(*this, runId, options);
  };
  TReplaceProgress progress(this);
  TReplaceOptions counting;
  counting.DryRun = true;
  counting.DocsObserver = &progress.Docs();
  counting.CardsObserver = &progress.Cards();
  const TCommandResult counted = run(counting);
  progress.Close();
  if (counted.Outcome != TCommandOutcome::Completed) return;  // refused, and told why
  TReplaceOptions options;
  options.DocsObserver = &progress.Docs();
  options.CardsObserver = &progress.Cards();
  options.PassesEnded = [&progress] { progress.Close(); };
  options.ConfirmDetail = [&counted] { return DryRunConfirmLines(counted); };
  options.CompletionDetail = CompletionLines;
  RunEnded(run(options));
}

void TChangePathForDocsFrm::Button2Click() {
  close();
}

void TChangePathForDocsFrm::SpeedButton3Click() {
  Edit1()->setText(QString::fromStdString(
      SelectFolder(LoadStr(sSelectOldFolder), Edit1()->text().toStdString(), std::string())));
}

void TChangePathForDocsFrm::SpeedButton1Click() {
  // Cancelling gives back the initial folder, the old path: it then lands in the new path too.
  Edit2()->setText(QString::fromStdString(
      SelectFolder(LoadStr(sSelectNewFolder), Edit1()->text().toStdString(), std::string())));
}
