// The warning before a replace when other stations hold the lock table open: in the window (the
// message dialog, answered by a scripted user interface) and in the console program.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <deque>
#include <filesystem>
#include <sstream>

#include "app/console/ConsoleProgram.h"
#include "app/window/ChangePathForDocs_Unit.h"
#include "platform/DialogForm.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/HolderStation.h"
#include "tests/support/QtTestApplication.h"
#include "ui/MsgDlgButtons.h"

namespace {

const std::string Confirm = "Do you want to start updating document paths?";
const std::string Completed = "Operation completed";

// The scripted user interface, answering built dialogs too: each shown dialog is recorded with
// its caption, text and button captions, and answered with the next queued modal result.
class TDialogScriptUi : public TFakeUi {
 public:
  struct TShown {
    std::string Caption;
    std::string Text;
    std::vector<std::string> Buttons;
  };
  std::vector<TShown> Dialogs;
  std::deque<int> DialogAnswers;

  int ShowDialogForm(TDialogForm& form) override {
    TShown shown{form.Caption, {}, {}};
    for (const auto& control : form.Controls()) {
      if (control->Kind == TDialogControlKind::Button) shown.Buttons.push_back(control->Caption);
      if (control->Kind == TDialogControlKind::Label && control->WordWrap)
        shown.Text = control->Caption;
    }
    Dialogs.push_back(shown);
    if (DialogAnswers.empty()) return form.CancelResult;
    const int answer = DialogAnswers.front();
    DialogAnswers.pop_front();
    return answer;
  }
};

// How many entries of this name the log holds.
size_t Entries(const std::string& log, const std::string& name) {
  size_t count = 0;
  for (size_t at = log.find("Proc_Name=" + name); at != std::string::npos;
       at = log.find("Proc_Name=" + name, at + 1))
    ++count;
  return count;
}

// Every user log of the installation, whichever program wrote it.
std::string UserLogs(const TCrmTestInstall& install) {
  std::string text;
  for (const auto& entry : std::filesystem::directory_iterator(install.Path("Logs")))
    if (entry.path().filename().string().rfind("UserLog_", 0) == 0)
      text += TCrmTestInstall::ReadBytes(entry.path().string());
  return text;
}

class OtherStationsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApplication();
    auto ui = std::make_unique<TDialogScriptUi>();
    ui_ = ui.get();
    install_->Ui = ui_;
    Platform().SetUi(std::move(ui));
    window_ = std::make_unique<TChangePathForDocsFrm>();
    ASSERT_TRUE(window_->StartedUp());
    install_->Seed({"C:\\Docs\\a.doc"}, {"C:\\Docs\\Smith"});
    window_->Edit1()->setText("C:\\Docs");
    window_->Edit2()->setText("E:\\New");
  }

  std::unique_ptr<TAppTestInstallation> install_ =
      std::make_unique<TAppTestInstallation>("VrlChangeDocsPath");
  TDialogScriptUi* ui_ = nullptr;
  std::unique_ptr<TChangePathForDocsFrm> window_;
};

TEST_F(OtherStationsWindowTest, AloneThereIsNoWarning) {
  ui_->ConfirmAnswers = {true};
  window_->Button1Click();
  EXPECT_TRUE(ui_->Dialogs.empty());
  EXPECT_EQ(WithoutAddedLines(ui_->Confirmations), std::vector<std::string>{Confirm});
  EXPECT_EQ(WithoutAddedLines(ui_->Messages), std::vector<std::string>{Completed});
  EXPECT_EQ(Entries(install_->LogText(), "Other Stations"), 0u);
}

TEST_F(OtherStationsWindowTest, ContinueGoesOnToTheConfirmation) {
  THolderStation first(*install_);
  THolderStation second(*install_);
  ui_->DialogAnswers = {mrOk};
  ui_->ConfirmAnswers = {true};
  window_->Button1Click();
  ASSERT_EQ(ui_->Dialogs.size(), 1u);
  EXPECT_EQ(ui_->Dialogs[0].Caption, "Warning");
  EXPECT_EQ(
      ui_->Dialogs[0].Text.rfind("2 other stations have the CRM open.\r\n\r\nClose the CRM", 0), 0u)
      << ui_->Dialogs[0].Text;
  EXPECT_EQ(ui_->Dialogs[0].Buttons, (std::vector<std::string>{"&Continue", "Cancel"}));
  EXPECT_EQ(WithoutAddedLines(ui_->Confirmations), std::vector<std::string>{Confirm});
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"E:\\New\\a.doc"});
  const std::string log = install_->LogText();
  EXPECT_NE(
      log.find("Proc_Name=Other Stations\r\n2 other stations have the CRM open.\r\nContinued"),
      std::string::npos)
      << log;
  // The command's own entry keeps its text, and comes after the warning.
  EXPECT_NE(log.find("Proc_Name=Change Docs Path\r\nC:\\Docs\r\nE:\\New\r\n"), std::string::npos);
  EXPECT_LT(log.find("Proc_Name=Other Stations"), log.find("Proc_Name=Change Docs Path"));
}

TEST_F(OtherStationsWindowTest, CancelStopsBeforeTheConfirmation) {
  THolderStation other(*install_);
  ui_->DialogAnswers = {mrCancel};
  ui_->ConfirmAnswers = {true};
  window_->Button1Click();
  ASSERT_EQ(ui_->Dialogs.size(), 1u);
  EXPECT_EQ(ui_->Dialogs[0].Text.rfind("1 other station has the CRM open.", 0), 0u);
  EXPECT_TRUE(ui_->Confirmations.empty());
  EXPECT_TRUE(ui_->Messages.empty());
  EXPECT_EQ(install_->DocumentNames(), std::vector<std::string>{"C:\\Docs\\a.doc"});
  const std::string log = install_->LogText();
  EXPECT_NE(log.find("Proc_Name=Other Stations\r\n1 other station has the CRM open.\r\nCancelled"),
            std::string::npos)
      << log;
  EXPECT_EQ(Entries(log, "Change Docs Path"), 0u);
}

struct TConsoleCase {
  const char* Name;
  bool Yes;
  bool Terminal;
  std::string Typed;
  int Code;
  bool Rewritten;
  bool ConfirmAsked;
};

void PrintTo(const TConsoleCase& c, std::ostream* os) {
  *os << c.Name;
}

class OtherStationsConsoleTest : public ::testing::TestWithParam<TConsoleCase> {};

TEST_P(OtherStationsConsoleTest, WarnsOnTheErrorStreamAndAsksOrRefuses) {
  const TConsoleCase& c = GetParam();
  TAppTestInstallation install("VrlChangeDocsPathCli");
  install.Seed({"C:\\Docs\\a.doc"}, {});
  THolderStation first(install);
  THolderStation second(install);
  std::vector<std::string> args{"--old", "C:\\Docs", "--new", "E:\\New"};
  if (c.Yes) args.push_back("--yes");
  std::istringstream in(c.Typed);
  std::ostringstream out, err;
  const int code = RunConsoleProgram(args, in, out, err, TConsoleTerminal{c.Terminal, false});
  EXPECT_EQ(code, c.Code) << err.str();
  EXPECT_EQ(err.str().rfind("2 other stations have the CRM open.\nClose the CRM", 0), 0u)
      << err.str();
  EXPECT_EQ(install.DocumentNames(),
            std::vector<std::string>{c.Rewritten ? "E:\\New\\a.doc" : "C:\\Docs\\a.doc"});
  EXPECT_EQ((out.str() + err.str()).find(Confirm) != std::string::npos, c.ConfirmAsked)
      << out.str();
  const std::string log = UserLogs(install);
  EXPECT_EQ(Entries(log, "Other Stations"), 1u) << log;
  EXPECT_EQ(Entries(log, "Change Docs Path"), c.Rewritten ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OtherStationsConsoleTest,
    ::testing::Values(
        TConsoleCase{"YesGoesOn", true, false, "", ecCompleted, true, false},
        TConsoleCase{"NoTerminalRefuses", false, false, "y\ny\n", ecRefused, false, false},
        TConsoleCase{"TerminalContinueThenYes", false, true, "y\ny\n", ecCompleted, true, true},
        TConsoleCase{"TerminalDeclines", false, true, "n\n", ecRefused, false, false},
        TConsoleCase{"TerminalContinueThenNo", false, true, "y\nn\n", ecRefused, false, true}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
