// The window's safety net: the confirmation and the completion tell the counts, and History lists
// the runs and undoes or resumes one, confirmed with its own counts, as the replace is.
#include "app/window/HistoryDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>

#include "app/window/ChangePathForDocs_Unit.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/QtTestApplication.h"

namespace {

class HistoryDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApplication();
    window_ = std::make_unique<TChangePathForDocsFrm>();
    ASSERT_TRUE(window_->StartedUp());
  }
  TFakeUi& Ui() { return *install_->Ui; }
  void Replace(const std::string& oldPath, const std::string& newPath) {
    window_->Edit1()->setText(QString::fromStdString(oldPath));
    window_->Edit2()->setText(QString::fromStdString(newPath));
    Ui().ConfirmAnswers = {true, true};
    window_->Button1Click();
  }
  static std::vector<std::string> Lines(const QListWidget& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.count(); ++i) lines.push_back(list.item(i)->text().toStdString());
    return lines;
  }

  std::unique_ptr<TAppTestInstallation> install_ =
      std::make_unique<TAppTestInstallation>("VrlChangeDocsPath");
  std::unique_ptr<TChangePathForDocsFrm> window_;
};

TEST_F(HistoryDialogTest, TheReplaceConfirmsAndCompletesWithItsCounts) {
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc", "E:\\New\\c.doc", "D:\\x.doc"},
                 {"C:\\Docs\\A", "D:\\B"});
  install_->Pref("dana", "DOC_MAIN_FOLDER", "A", "C:\\Docs\\Dana");
  Replace("C:\\Docs", "E:\\New");
  // The folders the old one does not take, and the preferences, asked about next.
  EXPECT_EQ(Ui().Confirmations,
            (std::vector<std::string>{
                "Do you want to start updating document paths?\r\n\r\n"
                "Documents: 2 of 4 will change; 1 already lie under the new folder.\r\n"
                "Cards: 1 of 2 will change; 0 already lie under the new folder.\r\n"
                "Documents: 2 records under other folders than C:\\Docs\r\n"
                "  other folder: D:\\ (1)\r\n"
                "  other folder: E:\\New (1)\r\n"
                "Cards: 1 records under other folders than C:\\Docs\r\n"
                "  other folder: D:\\B (1)\r\n"
                "Folder preferences naming the old folder: 1 (asked next).",
                "Also point 1 folder preferences at the new folder?"}));
  EXPECT_EQ(Ui().Messages, std::vector<std::string>{"Operation completed\r\n\r\n"
                                                    "Documents: 4 examined, 2 rewritten.\r\n"
                                                    "Cards: 2 examined, 1 rewritten.\r\n"
                                                    "Preferences: 1 examined, 1 rewritten.\r\n\r\n"
                                                    "Run R1 can be undone from History."});
  EXPECT_EQ(install_->Column("Pref", "VALUE"), std::vector<std::string>{"E:\\New\\Dana"});

  // A replace that would change nothing says so, and a nested one names the hazard.
  Ui().Confirmations.clear();
  Ui().ConfirmAnswers = {false};
  window_->Edit1()->setText("F:\\Nothing");
  window_->Button1Click();
  Ui().ConfirmAnswers = {true, false};
  window_->Edit1()->setText("E:\\New");
  window_->Edit2()->setText("E:\\New\\Sub");
  window_->Button1Click();
  ASSERT_EQ(Ui().Confirmations.size(), 3u);
  // What would change nothing still names where the records lie.
  EXPECT_EQ(Ui().Confirmations[0],
            "Do you want to start updating document paths?\r\n\r\nNo document or card lies under "
            "the old folder: nothing will change.\r\n"
            "Documents: 4 records under other folders than F:\\Nothing\r\n"
            "  other folder: E:\\New (3)\r\n"
            "  other folder: D:\\ (1)\r\n"
            "Cards: 2 records under other folders than F:\\Nothing\r\n"
            "  other folder: D:\\B (1)\r\n"
            "  other folder: E:\\New (1)");
  EXPECT_NE(Ui().Confirmations[2].find("\r\nRe-run hazard: the new folder E:\\New\\Sub lies "
                                       "under the old folder E:\\New."),
            std::string::npos)
      << Ui().Confirmations[2];
}

TEST_F(HistoryDialogTest, UndoesTheSelectedRunWithItsOwnCountsAndListsItAgain) {
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc"}, {"C:\\Docs\\A"});
  Replace("C:\\Docs", "E:\\New");
  auto history = window_->CreateHistory();
  ASSERT_EQ(history->List()->count(), 1);
  EXPECT_EQ(history->SelectedRun(), "R1");  // the newest is selected
  EXPECT_NE(Lines(*history->List())[0].find("C:\\Docs -> E:\\New  Docs 2, Cards 1  replace"),
            std::string::npos);

  Ui().Confirmations.clear();
  Ui().Messages.clear();
  Ui().ConfirmAnswers = {true};
  history->UndoButton()->click();
  ASSERT_EQ(Ui().Confirmations.size(), 1u);
  EXPECT_NE(Ui().Confirmations[0].find("\r\n\r\nDocuments: 2 of 2 will be restored.\r\nCards: "
                                       "1 of 1 will be restored."),
            std::string::npos)
      << Ui().Confirmations[0];
  EXPECT_EQ(Ui().Messages, std::vector<std::string>{"Operation completed\r\n\r\n"
                                                    "Documents: 2 examined, 2 restored.\r\n"
                                                    "Cards: 1 examined, 1 restored.\r\n\r\n"
                                                    "Run R2 can be undone from History."});
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{"C:\\Docs\\a.doc", "C:\\Docs\\b.doc"}));
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"C:\\Docs\\A"});
  // Listed again, newest first, the replace now marked undone.
  const std::vector<std::string> lines = Lines(*history->List());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("R2  ", 0), 0u);
  EXPECT_NE(lines[1].find("undone by R2"), std::string::npos);

  // Undoing it again is refused with the journal's own message, and nothing is asked.
  Ui().Confirmations.clear();
  Ui().Messages.clear();
  history->List()->setCurrentRow(1);
  history->UndoSelected();
  EXPECT_TRUE(Ui().Confirmations.empty());
  EXPECT_EQ(Ui().Messages,
            std::vector<std::string>{"Run R1 was already undone by run R2. Nothing was changed."});
}

TEST_F(HistoryDialogTest, ResumesAnIncompleteRunAndTellsWhatItKept) {
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc", "C:\\Docs\\c.doc"}, {"C:\\Docs\\A"});
  install_->FailUpdatesOf("Cards", 1);
  Replace("C:\\Docs", "E:\\New");
  ASSERT_EQ(Ui().Messages.size(), 2u);  // the card failure, then what was kept
  EXPECT_EQ(Ui().Messages[1],
            "3 records were written and are kept (Documents 3, Cards 0). Run R1 is incomplete: "
            "it can be resumed from History.");
  install_->Open()->ExecSQL("DROP TRIGGER FailCards", {});

  auto history = window_->CreateHistory();
  EXPECT_NE(Lines(*history->List())[0].find(", incomplete"), std::string::npos);
  Ui().Confirmations.clear();
  Ui().Messages.clear();
  Ui().ConfirmAnswers = {true};
  history->ResumeButton()->click();
  ASSERT_EQ(Ui().Confirmations.size(), 1u);
  EXPECT_NE(Ui().Confirmations[0].find("Documents: 0 of 3 will be rewritten.\r\nCards: 1 of 1 "
                                       "will be rewritten."),
            std::string::npos)
      << Ui().Confirmations[0];
  ASSERT_EQ(Ui().Messages.size(), 1u);
  EXPECT_EQ(Ui().Messages[0].rfind("Operation completed\r\n\r\n", 0), 0u) << Ui().Messages[0];
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"E:\\New\\A"});
  EXPECT_EQ(Lines(*history->List())[0].find(", incomplete"), std::string::npos);
}

TEST_F(HistoryDialogTest, TheKeyboardCanOpenItButEnterUndoesNothingAndEscapeCloses) {
  install_->Seed({"C:\\Docs\\a.doc"}, {});
  Replace("C:\\Docs", "E:\\New");
  EXPECT_EQ(window_->Button3()->text(), "&History...");
  EXPECT_TRUE(window_->grab().save(QString(VRL_BINARY_DIR) + "/MainWindow.png"));
  auto history = window_->CreateHistory();
  history->show();
  for (QPushButton* button :
       {history->UndoButton(), history->ResumeButton(), history->CloseButton()}) {
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
  }
  Ui().Confirmations.clear();
  history->List()->setFocus();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(history.get(), &enter);
  EXPECT_TRUE(Ui().Confirmations.empty());
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"E:\\New\\a.doc"});
  // What a user sees: a dialog of a sane size with the run listed.
  const QImage shot = history->grab().toImage();
  EXPECT_GE(shot.width(), 400);
  EXPECT_GE(shot.height(), 150);
  EXPECT_LE(shot.width(), 1200);
  EXPECT_TRUE(shot.save(QString(VRL_BINARY_DIR) + "/HistoryDialog.png"));
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(history.get(), &escape);
  EXPECT_FALSE(history->isVisible());
}

TEST_F(HistoryDialogTest, OldPathSuggestsTheStoredFoldersMostRecordsFirstOnceTyped) {
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc", "\\\\fs1\\Share\\X\\c.doc"},
                 {"c:\\docs\\A", "D:\\Cards\\B"});
  QCompleter* completer = window_->Edit1()->completer();
  ASSERT_NE(completer, nullptr);
  auto* model = qobject_cast<QStringListModel*>(completer->model());
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(model->stringList().isEmpty());  // nothing read before the first keystroke
  window_->Edit1()->textEdited("C");
  EXPECT_EQ(model->stringList(), (QStringList{"C:\\Docs", "D:\\Cards", "\\\\fs1\\Share\\X"}));
  EXPECT_EQ(completer->caseSensitivity(), Qt::CaseInsensitive);
  // Read once: a later record is not offered until the window opens again.
  install_->Seed({"E:\\Late\\d.doc"}, {});
  window_->Edit1()->textEdited("E");
  EXPECT_EQ(model->stringList().size(), 3);
}

TEST_F(HistoryDialogTest, AnEmptyJournalIsSaidAndNothingCanBeSelected) {
  auto history = window_->CreateHistory();
  EXPECT_EQ(Lines(*history->List()),
            std::vector<std::string>{"No run is journalled in this database."});
  EXPECT_EQ(history->SelectedRun(), "");
  EXPECT_FALSE(history->UndoButton()->isEnabled());
  EXPECT_FALSE(history->ResumeButton()->isEnabled());
}

}  // namespace
