// The tool's window: the old and the new documents folder, two folder pickers, "Replace" and
// "Close". Laid out in ChangePathForDocs_Unit.ui.
#pragma once

#include <QWidget>
#include <memory>

#include "common/Forms.h"
#include "log/EurekaLog.h"
#include "settings/PrefRecords.h"

namespace Ui {
class TChangePathForDocsFrm;
}
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class THistoryDialog;
struct TCommandResult;

class TChangePathForDocsFrm : public QWidget, public TForm {
  Q_OBJECT

 public:
  // Lays the window out and runs its creation handler (FormCreate).
  explicit TChangePathForDocsFrm(QWidget* parent = nullptr);
  ~TChangePathForDocsFrm() override;
  std::string ClassName() const override { return "TChangePathForDocsFrm"; }
  std::string UnitName() const override { return "ChangePathForDocs_Unit"; }

  QPushButton* Button1() const;
  QPushButton* Button2() const;
  QPushButton* Button3() const;  // "History..."
  QFrame* Panel1() const;
  QLabel* Label1() const;
  QLineEdit* Edit1() const;
  QLineEdit* Edit2() const;
  QLabel* Label2() const;
  QToolButton* SpeedButton3() const;
  QToolButton* SpeedButton1() const;
  // The exception-capture component, handed to the exception manager by FormCreate.
  TEurekaLog EurekaLog1{this, "EurekaLog1"};

  // The documents preferences read at creation; MainFolder is the old path offered in Edit1.
  TDocPref DocPref;

  // False when a start-up check failed: the window must not be shown and the program ends.
  bool StartedUp() const { return startedUp_; }

  // The creation handler: starts the event log, hands EurekaLog1 to the exception manager and
  // runs the start-up checks (a failed check has told the user why and was logged), then puts the
  // documents folder of the preferences into Edit1.
  void FormCreate();
  // "Replace": the replace command. A failure of the document pass propagates.
  void Button1Click();
  // "Close": closes the window, which ends the program.
  void Button2Click();
  // "History...": the journalled runs, to undo or resume one (HistoryDialog.h).
  void Button3Click();
  std::unique_ptr<THistoryDialog> CreateHistory();
  // The undo or the resume of a run from History: confirmed with the counts of its dry run
  // (a refusal of the dry run is shown and ends it), then run as the replace is.
  void UndoRun(const std::string& runId);
  void ResumeRun(const std::string& runId);
  // Folder pickers of the old-path and the new-path row.
  void SpeedButton3Click();
  void SpeedButton1Click();

 private:
  // Runs a handler for a click; an exception goes to the application-wide handling, never
  // through Qt's event delivery.
  template <typename Handler>
  void Guarded(Handler handler);
  // After a real run: a run that did not complete is told what it kept; one a stop signal ended
  // ends the program as the signal asked, without a dialog.
  void RunEnded(const TCommandResult& result);
  void RunJournalCommand(const std::string& runId, bool undo);

  std::unique_ptr<Ui::TChangePathForDocsFrm> ui_;
  bool startedUp_ = false;
};
