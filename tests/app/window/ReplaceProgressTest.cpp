// The progress window of a replace: shown for a pass that runs longer than a second (a pass
// slowed on a test clock by an observer that runs before the window's), never for a quick one,
// and closed before "Operation completed".
#include "app/window/ReplaceProgress.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <set>

#include "commands/ReplaceCommand.h"
#include "tests/support/AppTestInstallation.h"
#include "tests/support/QtTestApplication.h"

namespace {

using TTime = std::chrono::steady_clock::time_point;

class TOwner : public TComponent {
 public:
  TOwner() : TComponent(nullptr, "ReplaceProgressTestOwner") {}
  std::string ClassName() const override { return "TOwner"; }
  std::string UnitName() const override { return "ReplaceProgressTest"; }
};

// Each notification of the pass takes step on the test clock, then the window sees it.
class TSlowPass : public TRewriteObserver {
 public:
  TSlowPass(TRewriteObserver& watched, TTime& now, std::chrono::milliseconds step,
            std::function<void(int64_t done)> afterEach)
      : watched_(watched), now_(now), step_(step), afterEach_(std::move(afterEach)) {}
  void Progress(int64_t done, int64_t total) override {
    now_ += step_;
    watched_.Progress(done, total);
    afterEach_(done);
  }

 private:
  TRewriteObserver& watched_;
  TTime& now_;
  std::chrono::milliseconds step_;
  std::function<void(int64_t)> afterEach_;
};

// Records whether the progress window was still shown when a message appeared.
class TProgressAwareUi : public TFakeUi {
 public:
  const TReplaceProgress* Progress = nullptr;
  std::vector<bool> ShownWithProgress;
  void ShowMessage(const std::string& text, TMessageKind kind) override {
    ShownWithProgress.push_back(Progress && Progress->Window());
    TFakeUi::ShowMessage(text, kind);
  }
};

class ReplaceProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApplication();
    auto ui = std::make_unique<TProgressAwareUi>();
    ui_ = ui.get();
    install_.Ui = ui_;
    Platform().SetUi(std::move(ui));
    auto db = install_.Open();
    db->ExecSQL(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
        "INSERT INTO Docs (RECID, DOCUMENT_NAME) SELECT i, 'C:\\Docs\\' || i || '.doc' FROM n",
        {});
    db->ExecSQL(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 9000) "
        "INSERT INTO Cards (RECID, COMPANY, DOCSFOLDER) SELECT i, 'Company', 'C:\\Docs\\' || i "
        "FROM n",
        {});
    ASSERT_TRUE(MainConnectionIsOpen());
    ui_->ConfirmAnswers = {true};
  }

  // Runs a replace watched by progress, each notification taking step; afterEach sees the
  // window after every notification.
  void Replace(TReplaceProgress& progress, std::chrono::milliseconds step,
               const std::function<void(int64_t done)>& afterEach) {
    ui_->Progress = &progress;
    TSlowPass docs(progress.Docs(), now_, step, afterEach);
    TSlowPass cards(progress.Cards(), now_, step, afterEach);
    TReplaceOptions options;
    options.DocsObserver = &docs;
    options.CardsObserver = &cards;
    options.PassesEnded = [&progress] { progress.Close(); };
    EXPECT_EQ(ReplaceDocsPath(owner_, "C:\\Docs", "E:\\New", options).Outcome,
              TCommandOutcome::Completed);
  }

  TAppTestInstallation install_{"VrlChangeDocsPath"};
  TProgressAwareUi* ui_ = nullptr;
  TOwner owner_;
  TTime now_{};
};

TEST_F(ReplaceProgressTest, ASlowPassShowsTheWindowUntilThePassesEnd) {
  TReplaceProgress progress(nullptr, [this] { return now_; });
  std::vector<std::string> shown;
  bool modalWithoutButtons = true;
  Replace(progress, std::chrono::milliseconds(400), [&](int64_t done) {
    if (!progress.Window()) return;
    shown.push_back(progress.Text());
    modalWithoutButtons = modalWithoutButtons && progress.Window()->isVisible() &&
                          progress.Window()->windowModality() == Qt::ApplicationModal &&
                          progress.Window()->findChildren<QPushButton*>().isEmpty();
    if (done != 16384) return;
    // The screenshot at one point of the long pass.
    const QString file = QString(VRL_BINARY_DIR) + "/ReplaceProgress.png";
    ASSERT_TRUE(progress.Window()->grab().save(file));
    const QImage image(file);
    ASSERT_FALSE(image.isNull());
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
      for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 2u);  // text and bar drawn, not an empty frame
  });
  // Nothing before the pass had run a second (notifications at 0.4 s steps), then every
  // notification a quarter of a second or more after the last one.
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Documents: 12,288 of 20,000", "Documents: 16,384 of 20,000",
                       "Documents: 20,000 of 20,000", "Cards: 0 of 9,000", "Cards: 4,096 of 9,000",
                       "Cards: 8,192 of 9,000", "Cards: 9,000 of 9,000"}));
  EXPECT_TRUE(modalWithoutButtons);
  EXPECT_EQ(progress.Window(), nullptr);
  EXPECT_EQ(ui_->Messages, std::vector<std::string>{"Operation completed"});
  EXPECT_EQ(ui_->ShownWithProgress, std::vector<bool>{false});
  EXPECT_EQ(install_.DocumentNames()[0], "E:\\New\\1.doc");
}

TEST(ReplaceProgress, RefreshedAFewTimesPerSecondAtMost) {
  QtTestApplication();
  using std::chrono::milliseconds;
  TTime now{};
  TReplaceProgress progress(nullptr, [&now] { return now; });
  // Each step: the time of the notification, the pass, done, total, and the text then shown.
  struct TStep {
    int At;
    bool Cards;
    int64_t Done;
    int64_t Total;
    const char* Shown;
  };
  const TStep steps[] = {
      {0, false, 0, 1000000, ""},
      {900, false, 4096, 1000000, ""},  // not yet a second
      {1100, false, 8192, 1000000, "Documents: 8,192 of 1,000,000"},
      {1200, false, 12288, 1000000, "Documents: 8,192 of 1,000,000"},  // too soon
      {1350, false, 16384, 1000000, "Documents: 16,384 of 1,000,000"},
      {1360, false, 1000000, 1000000, "Documents: 1,000,000 of 1,000,000"},  // the last
      {1370, true, 0, 120000, "Cards: 0 of 120,000"},                        // a new pass
      {1380, true, 4096, 120000, "Cards: 0 of 120,000"},
      {1390, true, 120000, 120000, "Cards: 120,000 of 120,000"},
  };
  for (const TStep& step : steps) {
    now = TTime{} + milliseconds(step.At);
    (step.Cards ? progress.Cards() : progress.Docs()).Progress(step.Done, step.Total);
    EXPECT_EQ(progress.Text(), step.Shown) << step.At;
  }
  progress.Close();
  EXPECT_EQ(progress.Window(), nullptr);
  EXPECT_EQ(progress.Text(), "");
}

TEST_F(ReplaceProgressTest, AQuickPassNeverShowsTheWindow) {
  TReplaceProgress progress(nullptr, [this] { return now_; });
  bool everShown = false;
  Replace(progress, std::chrono::milliseconds(150),
          [&](int64_t) { everShown = everShown || progress.Window(); });
  EXPECT_FALSE(everShown);
  EXPECT_EQ(ui_->Messages, std::vector<std::string>{"Operation completed"});
}

TEST(GroupedCount, GroupsThousandsWithCommas) {
  const std::pair<int64_t, const char*> cases[] = {{0, "0"},
                                                   {999, "999"},
                                                   {1000, "1,000"},
                                                   {120000, "120,000"},
                                                   {1000000, "1,000,000"},
                                                   {-1234567, "-1,234,567"},
                                                   {-12, "-12"}};
  for (const auto& [count, text] : cases) EXPECT_EQ(GroupedCount(count), text) << count;
}

}  // namespace
