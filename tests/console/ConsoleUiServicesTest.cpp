#include "platform/console/ConsoleUiServices.h"

#include <gtest/gtest.h>

#include <sstream>

#include "db/RemoteControlNotice.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/ProgramUnitsReset.h"

namespace {

struct TTerminal {
  std::istringstream In;
  std::ostringstream Out;
  std::ostringstream Err;
  TConsoleUiServices Ui;
  TTerminal(const std::string& typed, TConsoleUiOptions options)
      : In(typed), Ui(In, Out, Err, options) {}
};

TEST(ConsoleUiServicesTest, TheKindAloneDecidesTheStream) {
  TTerminal t("", {});
  t.Ui.ShowMessage("Operation completed", TMessageKind::mkInformation);
  t.Ui.ShowMessage("The process failed\r\nno such table", TMessageKind::mkError);
  t.Ui.ShowMessage("Enter new path and try again", TMessageKind::mkWarning);
  // The words of a text do not matter: a failure-sounding information is still information.
  t.Ui.ShowMessage("The process failed? No: all done", TMessageKind::mkInformation);
  t.Ui.ShowError("Engine gone");
  EXPECT_EQ(t.Out.str(), "Operation completed\nThe process failed? No: all done\n");
  EXPECT_EQ(t.Err.str(),
            "The process failed\r\nno such table\nEnter new path and try again\nEngine gone\n");
}

TEST(ConsoleUiServicesTest, OnATerminalOnlyYOrYesAccepts) {
  TTerminal t("y\nYES\n  yes \nn\n\nyess\n", {.InputIsTerminal = true});
  const std::string question = "Do you want to start updating document paths?";
  EXPECT_TRUE(t.Ui.ConfirmYesNo(question));
  EXPECT_TRUE(t.Ui.ConfirmYesNo(question));
  EXPECT_TRUE(t.Ui.ConfirmYesNo(question));
  EXPECT_FALSE(t.Ui.ConfirmYesNo(question));
  EXPECT_FALSE(t.Ui.ConfirmYesNo(question));
  EXPECT_FALSE(t.Ui.ConfirmYesNo(question));
  EXPECT_FALSE(t.Ui.ConfirmYesNo(question));  // end of input
  EXPECT_EQ(t.Out.str().find(question + " [y/N] "), 0u);
  EXPECT_FALSE(t.Ui.RefusedWithoutTerminal());
}

TEST(ConsoleUiServicesTest, WithoutATerminalItRefusesUnlessToldYes) {
  TTerminal refused("y\n", {});
  EXPECT_FALSE(refused.Ui.ConfirmYesNo("Sure?"));
  EXPECT_TRUE(refused.Ui.RefusedWithoutTerminal());
  EXPECT_NE(refused.Err.str().find("--yes"), std::string::npos);
  std::string unread;
  std::getline(refused.In, unread);
  EXPECT_EQ(unread, "y");  // the input was not consulted

  TTerminal told("n\n", {.AssumeYes = true});
  EXPECT_TRUE(told.Ui.ConfirmYesNo("Sure?"));
  EXPECT_EQ(told.Out.str(), "");
}

TEST(ConsoleUiServicesTest, NoFolderBrowserAndTheRemoteControlNoticeAsText) {
  TTerminal t("", {});
  std::string folder = "kept";
  EXPECT_FALSE(t.Ui.BrowseForFolder(TBrowseRequest{"T", "/x", "", {}}, folder));
  EXPECT_EQ(folder, "kept");
  EXPECT_FALSE(t.Ui.ShowForm(RemoteControlNoticeForm));  // none registered: nothing shown
  EXPECT_EQ(t.Err.str(), "");
  t.Ui.RegisterForm(RemoteControlNoticeForm, RemoteControlNoticeText());
  EXPECT_TRUE(t.Ui.ShowForm(RemoteControlNoticeForm));
  EXPECT_EQ(t.Err.str(), RemoteControlNoticeText() + "\n");
  EXPECT_NE(t.Err.str().find(RemoteControlGuideUrl), std::string::npos);
  EXPECT_EQ(t.Out.str(), "");

  auto system = std::make_unique<TFakeSystem>();
  system->ProgramFile = "/srv/crm/Utils/VrlChangeDocsPathCli";
  Platform().SetSystem(std::move(system));
  EXPECT_EQ(t.Ui.ApplicationTitle(), "VrlChangeDocsPathCli");
  ResetProgramUnits();
}

}  // namespace
