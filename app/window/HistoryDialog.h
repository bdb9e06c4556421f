// The window's History: the journalled runs, newest first, one line each as the console lists
// them (commands/RunListLine.h), with "Undo" and "Resume" for the selected run and "Close".
// Undo and Resume hand the run to the window, which confirms with the counts of its dry run,
// shows the progress and the completion, and the list is read again afterwards. No button is a
// default button, so Enter starts nothing by itself; Escape closes the dialog.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QListWidget;
class QPushButton;

class THistoryDialog : public QDialog {
 public:
  using TRunAction = std::function<void(const std::string& runId)>;

  THistoryDialog(QWidget* parent, TRunAction undo, TRunAction resume);

  // Reads the journal again. A journal that cannot be read is told in a message; the list then
  // stays empty.
  void Refresh();
  // The selected run's id; empty when none is selected.
  std::string SelectedRun() const;
  void UndoSelected();
  void ResumeSelected();

  QListWidget* List() const { return list_; }
  QPushButton* UndoButton() const { return undo_; }
  QPushButton* ResumeButton() const { return resume_; }
  QPushButton* CloseButton() const { return close_; }

 private:
  void SelectionChanged();
  void Run(const TRunAction& action);

  TRunAction undoRun_;
  TRunAction resumeRun_;
  QListWidget* list_;
  QPushButton* undo_;
  QPushButton* resume_;
  QPushButton* close_;
};
