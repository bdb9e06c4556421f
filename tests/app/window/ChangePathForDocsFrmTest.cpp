#include "app/window/ChangePathForDocs_Unit.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <csignal>
#include <deque>

#include "tests/support/AppTestInstallation.h"
#include "tests/support/QtTestApplication.h"

namespace {

const std::string Confirm = "Do you want to start updating document paths?";
const std::string Completed = "Operation completed";

class ChangePathForDocsFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApplication();
    window_ = std::make_unique<TChangePathForDocsFrm>();
    ASSERT_TRUE(window_->StartedUp());
  }
  void Type(const std::string& oldPath, const std::string& newPath) {
    window_->Edit1()->setText(QString::fromStdString(oldPath));
    window_->Edit2()->setText(QString::fromStdString(newPath));
  }
  TFakeUi& Ui() { return *install_->Ui; }

  std::unique_ptr<TAppTestInstallation> install_ =
      std::make_unique<TAppTestInstallation>("VrlChangeDocsPath");
  std::unique_ptr<TChangePathForDocsFrm> window_;
};

TEST_F(ChangePathForDocsFrmTest, LaidOutAsDesigned) {
  TChangePathForDocsFrm& w = *window_;
  EXPECT_EQ(w.windowTitle(), "Change Document Path - Change Server");
  EXPECT_EQ(w.size(), QSize(446, 177));
  EXPECT_EQ(w.objectName(), "ChangePathForDocsFrm");
  EXPECT_EQ(w.Name(), "ChangePathForDocsFrm");
  EXPECT_EQ(w.font().pixelSize(), 14);

  struct Expected {
    QWidget* widget;
    const char* name;
    QRect geometry;
  };
  for (const Expected& e : {
           Expected{w.Button1(), "Button1", {98, 138, 92, 31}},
           Expected{w.Button2(), "Button2", {246, 138, 93, 31}},
           Expected{w.Button3(), "Button3", {349, 138, 89, 31}},
           Expected{w.Panel1(), "Panel1", {2, 2, 442, 120}},
           Expected{w.Edit1(), "Edit1", {76, 28, 313, 24}},
           Expected{w.Edit2(), "Edit2", {76, 64, 313, 24}},
           Expected{w.SpeedButton3(), "SpeedButton3", {396, 26, 31, 31}},
           Expected{w.SpeedButton1(), "SpeedButton1", {396, 62, 31, 30}},
       }) {
    EXPECT_EQ(e.widget->objectName(), e.name);
    EXPECT_EQ(e.widget->geometry(), e.geometry) << e.name;
  }
  EXPECT_EQ(w.Label1()->pos(), QPoint(11, 33));
  EXPECT_EQ(w.Label2()->pos(), QPoint(11, 69));
  EXPECT_EQ(w.Label1()->text(), "Old Path:");
  EXPECT_EQ(w.Label2()->text(), "New Path:");
  EXPECT_EQ(w.Button1()->text(), "Replace");
  EXPECT_EQ(w.Button2()->text(), "Close");
  EXPECT_EQ(w.Button3()->text(), "&History...");
  for (QWidget* inPanel : {static_cast<QWidget*>(w.Edit1()), static_cast<QWidget*>(w.Edit2()),
                           static_cast<QWidget*>(w.SpeedButton3())})
    EXPECT_EQ(inPanel->parentWidget(), w.Panel1());

  // Tab order: Replace, Close, then the panel's Old Path and New Path, then History.
  EXPECT_EQ(w.Button1()->nextInFocusChain(), w.Button2());
  QWidget* next = w.Button2()->nextInFocusChain();
  while (next && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
  EXPECT_EQ(next, w.Edit1());
  EXPECT_EQ(w.Edit1()->nextInFocusChain(), w.Edit2());
  // History comes after the specified controls, so their order stays as it was.
  next = w.Edit2()->nextInFocusChain();
  while (next && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
  EXPECT_EQ(next, w.Button3());

  for (QToolButton* button : {w.SpeedButton3(), w.SpeedButton1()}) {
    EXPECT_TRUE(button->autoRaise());
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    const QIcon icon = button->icon();
    EXPECT_FALSE(icon.isNull());
    EXPECT_NE(icon.pixmap(16, QIcon::Normal).toImage(), icon.pixmap(16, QIcon::Disabled).toImage());
  }
}

TEST_F(ChangePathForDocsFrmTest, BlankOrBlankOnlyNewPathIsRefused) {
  install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\Smith"});
  for (const char* blank : {"", "   ", " \t "}) {
    Type("C:\\Docs", blank);
    window_->Button1Click();
  }
  EXPECT_EQ(Ui().Messages, std::vector<std::string>(3, "Enter new path and try again"));
  EXPECT_TRUE(Ui().Confirmations.empty());
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
}

TEST_F(ChangePathForDocsFrmTest, APathWithAControlCharacterIsRefusedWithItsOwnMessage) {
  install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\Smith"});
  const struct {
    const char* newPath;
    const char* message;
  } cases[] = {
      {"E:\\New\tFolder",
       "The new path holds a line break or another control character, which no Windows path "
       "holds. Nothing was changed."},
      {"E:\\New\xE2\x80\xAE"
       "cod.exe",  // U+202E, the right-to-left override
       "The new path holds a character that changes the direction of the text or breaks its "
       "line (U+202A to U+202E, U+2066 to U+2069, U+2028, U+2029), which would garble it in "
       "lists and logs. Nothing was changed."},
  };
  for (const auto& c : cases) {
    Ui().Messages.clear();
    Type("C:\\Docs", c.newPath);
    Ui().ConfirmAnswers = {true};
    window_->Button1Click();
    EXPECT_EQ(Ui().Messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(Ui().Confirmations.empty());
    EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
  }
}

TEST_F(ChangePathForDocsFrmTest, AnsweringNoChangesNothing) {
  install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\Smith"});
  Type("C:\\Docs", "E:\\New");
  Ui().ConfirmAnswers = {false};
  const std::string logBefore = install_->LogText();
  window_->Button1Click();
  EXPECT_EQ(install_->LogText(), logBefore);
  EXPECT_EQ(WithoutAddedLines(Ui().Confirmations), std::vector<std::string>{Confirm});
  EXPECT_TRUE(Ui().Messages.empty());
  EXPECT_TRUE(Ui().CursorHistory.empty() || Ui().CursorHistory.back() == TCursorKind::crDefault);
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"C:\\Docs\\Smith"});
}

TEST_F(ChangePathForDocsFrmTest, ALowerCaseOldPathMatchesAndTheNewPathIsKeptAsTyped) {
  install_->Seed({"C:\\VarnelDocs\\Smith\\Letter.doc", "D:\\Other\\x.doc"},
                 {"C:\\VARNELDOCS\\Smith\\", ""});
  Type("c:\\varneldocs", " E:\\Shared");
  Ui().ConfirmAnswers = {true};
  window_->Button1Click();
  EXPECT_EQ(WithoutAddedLines(Ui().Messages), std::vector<std::string>{Completed});
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{" E:\\Shared\\Smith\\Letter.doc", "D:\\Other\\x.doc"}));
  EXPECT_EQ(install_->CardFolders(), (std::vector<std::string>{" E:\\Shared\\Smith", ""}));
  EXPECT_NE(
      std::find(Ui().CursorHistory.begin(), Ui().CursorHistory.end(), TCursorKind::crHourGlass),
      Ui().CursorHistory.end());
  EXPECT_EQ(Ui().Cursor(), TCursorKind::crDefault);
}

TEST_F(ChangePathForDocsFrmTest, AReplaceThatMatchesNothingStillCompletes) {
  install_->Seed({"D:\\Other\\x.doc"}, {"D:\\Other"});
  Type("C:\\Docs", "E:\\New");
  Ui().ConfirmAnswers = {true};
  const size_t logBefore = install_->LogText().size();
  window_->Button1Click();
  EXPECT_EQ(WithoutAddedLines(Ui().Messages), std::vector<std::string>{Completed});
  // The command's entry with both paths as typed, then the connection information.
  const std::string log = install_->LogText().substr(logBefore);
  const size_t command = log.find("Change Docs Path");
  ASSERT_NE(command, std::string::npos) << log;
  EXPECT_NE(log.find("C:\\Docs", command), std::string::npos);
  EXPECT_NE(log.find("E:\\New", command), std::string::npos);
  EXPECT_NE(log.find("ConnInfo: ", command), std::string::npos) << log;
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"D:\\Other\\x.doc"});
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"D:\\Other"});
}

TEST_F(ChangePathForDocsFrmTest, AFailingCardPassIsReportedButNotAsCompleted) {
  install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A", "C:\\Docs\\B", "C:\\Docs\\C"});
  install_->FailUpdatesOf("Cards", 2);
  Type("C:\\Docs", "E:\\New");
  Ui().ConfirmAnswers = {true};
  window_->Button1Click();
  ASSERT_EQ(Ui().Messages.size(), 2u);
  EXPECT_EQ(Ui().Messages[0].rfind("The process failed\r\n", 0), 0u);
  // Then what was kept, and that the run can be finished.
  EXPECT_EQ(Ui().Messages[1],
            "2 records were written and are kept (Documents 1, Cards 1). Run R1 is incomplete: it "
            "can be resumed from History.");
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"E:\\New\\a.doc"});
  EXPECT_EQ(install_->CardFolders(),
            (std::vector<std::string>{"E:\\New\\A", "C:\\Docs\\B", "C:\\Docs\\C"}));
  EXPECT_EQ(Ui().Cursor(), TCursorKind::crDefault);
}

TEST_F(ChangePathForDocsFrmTest, AFailingDocumentPassPropagatesWithTheCursorRestored) {
  install_->Seed({"C:\\Docs\\a.doc", "C:\\Docs\\b.doc", "C:\\Docs\\c.doc"}, {"C:\\Docs\\A"});
  install_->FailUpdatesOf("Docs", 2);
  Type("C:\\Docs", "E:\\New");
  Ui().ConfirmAnswers = {true};
  const size_t logBefore = install_->LogText().size();
  EXPECT_ANY_THROW(window_->Button1Click());
  // The clean-up ran: the connection information was logged.
  EXPECT_NE(install_->LogText().find("ConnInfo: ", logBefore), std::string::npos);
  EXPECT_EQ(Ui().Cursor(), TCursorKind::crDefault);
  EXPECT_TRUE(Ui().Messages.empty());
  // Earlier documents stay rewritten; the cards were never visited.
  EXPECT_EQ(install_->DocumentNames(),
            (std::vector<std::string>{"E:\\New\\a.doc", "C:\\Docs\\b.doc", "C:\\Docs\\c.doc"}));
  EXPECT_EQ(install_->CardFolders(), std::vector<std::string>{"C:\\Docs\\A"});

  // Pressed in the window, the failure reaches the exception manager through the window's
  // EurekaLog1: it is logged with the stack of where it was thrown, and the user is told so.
  Ui().ConfirmAnswers = {true};
  const size_t clickedAt = install_->LogText().size();
  window_->Button1()->click();
  EXPECT_EQ(Ui().Messages, std::vector<std::string>{"Message registered in log file:"});
  const std::string logged = install_->LogText().substr(clickedAt);
  EXPECT_NE(logged.find("record 2 is locked"), std::string::npos);
  EXPECT_NE(logged.find("Proc_Name=GenUnHndExp 1\r\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("app/window/ChangePathForDocs_Unit.cpp - "), std::string::npos) << logged;
  EXPECT_EQ(Ui().Cursor(), TCursorKind::crDefault);
}

TEST_F(ChangePathForDocsFrmTest, AStopSignalEndsTheProgramWithoutADialogAndLogsHowToResume) {
  install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
  install_->System->StopSignalOnWatch = SIGTERM;  // arrives as the replace starts writing
  Type("C:\\Docs", "E:\\New");
  Ui().ConfirmAnswers = {true};
  QTimer::singleShot(0, [this] { window_->Button1Click(); });
  // Should the window not end the loop, the test fails instead of hanging.
  QTimer::singleShot(60000, [] { QCoreApplication::exit(-1); });
  EXPECT_EQ(QCoreApplication::exec(), 128 + SIGTERM);
  EXPECT_TRUE(Ui().Messages.empty());
  const std::string log = install_->LogText();
  EXPECT_NE(log.find("Proc_Name=Stopped\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("VrlChangeDocsPathCli --resume R1"), std::string::npos) << log;
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
}

TEST_F(ChangePathForDocsFrmTest, ANewFolderUnderTheOldOneIsConfirmedFirstWithItsOwnText) {
  const std::string nested =
      "The new folder c:\\docs\\Archive lies under the old folder C:\\Docs.\r\nA second run of "
      "this replace would rewrite the rewritten paths again, one folder deeper.\r\nDo you want to "
      "replace all the same?";
  const struct {
    std::deque<bool> answers;
    std::vector<std::string> asked;
    bool replaced;
  } cases[] = {
      {{false}, {nested}, false},
      {{true, false}, {nested, Confirm}, false},
      {{true, true}, {nested, Confirm}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers.size());
    install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\A"});
    Ui().Confirmations.clear();
    Ui().Messages.clear();
    Ui().ConfirmAnswers = c.answers;
    Type("C:\\Docs", "c:\\docs\\Archive");
    window_->Button1Click();
    EXPECT_EQ(WithoutAddedLines(Ui().Confirmations), c.asked);
    EXPECT_EQ(
        install_->DocumentNames(),
        std::vector<std::string>{c.replaced ? "c:\\docs\\Archive\\a.doc" : "C:\\Docs\\a.doc"});
    EXPECT_EQ(WithoutAddedLines(Ui().Messages),
              c.replaced ? std::vector<std::string>{Completed} : std::vector<std::string>{});
  }
}

TEST_F(ChangePathForDocsFrmTest, FolderPickersStartAtTheOldPathAndCancelGivesItBack) {
  Type("C:\\Docs", "E:\\Typed");
  Ui().BrowseAnswers = {std::nullopt, std::string("/srv/new"), std::string("/srv/old")};
  window_->SpeedButton1()->click();  // cancelled: the old path lands in New Path
  EXPECT_EQ(window_->Edit2()->text(), "C:\\Docs");
  window_->SpeedButton1Click();
  EXPECT_EQ(window_->Edit2()->text(), "/srv/new");
  window_->SpeedButton3Click();
  EXPECT_EQ(window_->Edit1()->text(), "/srv/old");
  ASSERT_EQ(Ui().BrowseRequests.size(), 3u);
  EXPECT_EQ(Ui().BrowseRequests[0].Title, "Select primary system documents folder");
  for (const TBrowseRequest& request : Ui().BrowseRequests) {
    EXPECT_EQ(request.InitialFolder, "C:\\Docs");
    EXPECT_EQ(request.StatusText, "");
  }
}

TEST_F(ChangePathForDocsFrmTest, CloseClosesTheWindow) {
  window_->show();
  ASSERT_TRUE(window_->isVisible());
  window_->Button2()->click();
  EXPECT_FALSE(window_->isVisible());
}

}  // namespace
