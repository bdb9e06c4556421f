#include "ui/BrowseForFolder.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "tests/support/FakeUi.h"
#include "tests/support/ProgramUnitsReset.h"

namespace {

class BrowseForFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto ui = std::make_unique<TFakeUi>();
    ui_ = ui.get();
    Platform().SetUi(std::move(ui));
  }
  void TearDown() override { ResetProgramUnits(); }
  TFakeUi* ui_ = nullptr;
};

TEST_F(BrowseForFolderTest, SelectFolderGivesTheChosenFolderOrTheInitialOneOnCancel) {
  ui_->BrowseAnswers = {std::string("/srv/docs"), std::nullopt, std::nullopt};
  EXPECT_EQ(SelectFolder("Pick", "C:\\Old", ""), "/srv/docs");
  EXPECT_EQ(SelectFolder("Pick", "C:\\Old", ""), "C:\\Old");
  EXPECT_EQ(SelectFolder("Pick", "", ""), "");
  ASSERT_EQ(ui_->BrowseRequests.size(), 3u);
  EXPECT_EQ(ui_->BrowseRequests[0].Title, "Pick");
  EXPECT_EQ(ui_->BrowseRequests[0].InitialFolder, "C:\\Old");
  EXPECT_EQ(ui_->BrowseRequests[0].StatusText, "");
}

TEST_F(BrowseForFolderTest, BrowseForFolderLeavesTheTargetAloneOnCancel) {
  std::string folder = "untouched";
  EXPECT_FALSE(BrowseForFolder("T", "/a", "status", folder));
  EXPECT_EQ(folder, "untouched");
  EXPECT_EQ(ui_->BrowseRequests.at(0).StatusText, "status");
  ui_->BrowseAnswers = {std::string("/b")};
  EXPECT_TRUE(BrowseForFolder("T", "/a", "", folder));
  EXPECT_EQ(folder, "/b");
}

TEST_F(BrowseForFolderTest, CentresOverTheActiveFormThenTheMainWindowThenTheVirtualScreen) {
  TFormInfo main;
  main.Bounds = {900, 700, 446, 177};
  TFormInfo active;
  active.Bounds = {10, 20, 300, 200};
  active.ClientLeft = 14;
  active.ClientTop = 45;
  ui_->VirtualScreen = {-1280, 0, 3200, 1200};

  std::string folder;
  BrowseForFolder("T", "", "", folder);  // no form at all: the virtual screen at 0, 0
  ui_->Main = main;
  BrowseForFolder("T", "", "", folder);
  ui_->Active = active;
  BrowseForFolder("T", "", "", folder);
  ui_->Active->MdiChild = true;  // an MDI child is placed by its client area
  BrowseForFolder("T", "", "", folder);

  ASSERT_EQ(ui_->BrowseRequests.size(), 4u);
  auto bounds = [&](size_t i) {
    const TRect r = ui_->BrowseRequests[i].CentreOver.value();
    return std::vector<int>{r.Left, r.Top, r.Width, r.Height};
  };
  EXPECT_EQ(bounds(0), (std::vector<int>{0, 0, 3200, 1200}));
  EXPECT_EQ(bounds(1), (std::vector<int>{900, 700, 446, 177}));
  EXPECT_EQ(bounds(2), (std::vector<int>{10, 20, 300, 200}));
  EXPECT_EQ(bounds(3), (std::vector<int>{14, 45, 300, 200}));
}

}  // namespace
