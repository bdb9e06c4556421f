#include "platform/qt/QtFolderBrowser.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QTimer>
#include <filesystem>

#include "tests/support/QtTestApplication.h"
#include "tests/support/TempDir.h"

namespace {

class QtFolderBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override { QtTestApplication(); }
  TTempDir temp_;
};

TEST_F(QtFolderBrowserTest, ADirectoryOnlyBrowserOfOurOwnWithTheStatusLineOnlyWhenSet) {
  QFileDialog plain;
  SetUpFolderBrowser(plain, TBrowseRequest{"Select primary system documents folder", "", "", {}});
  EXPECT_TRUE(plain.testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_TRUE(plain.testOption(QFileDialog::ShowDirsOnly));
  EXPECT_EQ(plain.fileMode(), QFileDialog::Directory);
  EXPECT_EQ(plain.windowTitle(), "Select primary system documents folder");
  EXPECT_EQ(plain.findChild<QLabel*>("StatusLine"), nullptr);

  QFileDialog withStatus;
  SetUpFolderBrowser(withStatus, TBrowseRequest{"T", "", "Looking in the server share", {}});
  QLabel* status = withStatus.findChild<QLabel*>("StatusLine");
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->text(), "Looking in the server share");
}

TEST_F(QtFolderBrowserTest, CentresOverTheGivenBoundsWithoutClamping) {
  QFileDialog dialog;
  // Near the left screen edge: the browser may stand partly off-screen.
  SetUpFolderBrowser(dialog, TBrowseRequest{"T", "", "", TRect{-5, 11, 447, 177}});
  const QSize size = dialog.frameGeometry().size();
  EXPECT_EQ(dialog.frameGeometry().left(), -5 + 447 / 2 - size.width() / 2);
  EXPECT_EQ(dialog.frameGeometry().top(), 11 + 177 / 2 - size.height() / 2);
  EXPECT_LT(dialog.frameGeometry().left(), 0);
}

TEST_F(QtFolderBrowserTest, ReturnsTheInitialFolderWhenAcceptedAndNothingOnCancel) {
  const std::filesystem::path initial = temp_.Path() / "Docs";
  std::filesystem::create_directories(initial / "Smith");
  const TBrowseRequest request{"T", initial.string(), "", {}};

  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
      static_cast<QDialog*>(dialog)->accept();
  });
  std::string folder;
  ASSERT_TRUE(RunFolderBrowser(request, folder));
  EXPECT_EQ(folder, initial.string());

  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
      dialog->reject();
  });
  folder = "kept";
  EXPECT_FALSE(RunFolderBrowser(request, folder));
  EXPECT_EQ(folder, "kept");
}

TEST_F(QtFolderBrowserTest, AMissingInitialFolderLeavesTheDefaultSelection) {
  QFileDialog dialog;
  const QString before = dialog.directory().absolutePath();
  SetUpFolderBrowser(dialog, TBrowseRequest{"T", (temp_.Path() / "absent").string(), "", {}});
  EXPECT_EQ(dialog.directory().absolutePath(), before);
}

}  // namespace
