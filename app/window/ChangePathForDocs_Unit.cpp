#include "app/window/ChangePathForDocs_Unit.h"

#include <QCoreApplication>

#include "app/units/StartupSequence.h"
#include "app/window/FolderGlyph.h"
#include "app/window/ReplaceProgress.h"
#include "commands/ReplaceCommand.h"
#include "common/StrTable.h"
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
}

void TChangePathForDocsFrm::Button1Click() {
  TReplaceProgress progress(this);
  TReplaceOptions options;
  options.DocsObserver = &progress.Docs();
  options.CardsObserver = &progress.Cards();
  options.PassesEnded = [&progress] { progress.Close(); };
  const TCommandResult result =
      ReplaceDocsPath(*this, Edit1()->text().toStdString(), Edit2()->text().toStdString(), options);
  // A stop signal ended the replace: the log tells what was kept and how to resume it; the
  // program ends as the signal asked, without a dialog.
  if (result.Outcome == TCommandOutcome::Interrupted)
    QCoreApplication::exit(StoppedExitCode(result.StopSignal));
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
