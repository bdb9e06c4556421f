// The progress of a replace in the window. A replace walks every document and card record; on a
// large database that takes minutes, so a pass that runs longer than about a second brings up a
// small modal window of its own ("Documents: 120,000 of 1,000,000", then the cards), updated a
// few times per second from the passes' progress notifications. It has no Cancel button:
// stopping halfway would leave the user unsure what was rewritten. It closes when the passes end,
// before "Operation completed" (or a failure) is shown.
//
// Everything runs on the user-interface thread, inside the Replace button's handler: between
// batches of records (each notification) the pending events are processed, so the windows
// repaint. User input stays queued until the command ends (the input events are excluded), so
// nothing can start a second replace or close the window halfway.
#pragma once

#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/StrIds.h"
#include "docpaths/DatDocsDBServices.h"

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

class TReplaceProgress {
 public:
  using TClock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds ShowAfter{1000};
  static constexpr std::chrono::milliseconds RefreshInterval{250};

  // parent: the window the progress window is centred over; clock: the time source (tests
  // give one of their own).
  explicit TReplaceProgress(QWidget* parent, TClock clock = std::chrono::steady_clock::now);
  ~TReplaceProgress();
  TReplaceProgress(const TReplaceProgress&) = delete;
  TReplaceProgress& operator=(const TReplaceProgress&) = delete;

  // The observers for the document pass and the card pass.
  TRewriteObserver& Docs() { return docs_; }
  TRewriteObserver& Cards() { return cards_; }
  // Closes the progress window, when it is shown.
  void Close();
  // The progress window while it is shown; null before and after.
  QDialog* Window() const { return window_.get(); }
  // The progress text now shown (empty when none).
  std::string Text() const;

 private:
  class TPassWatcher : public TRewriteObserver {
   public:
    TPassWatcher(TReplaceProgress& owner, TStrId textId) : owner_(owner), textId_(textId) {}
    void Progress(int64_t done, int64_t total) override { owner_.Update(textId_, done, total); }

   private:
    TReplaceProgress& owner_;
    TStrId textId_;
  };

  void Update(TStrId textId, int64_t done, int64_t total);
  void Show();

  QPointer<QWidget> parent_;
  TClock clock_;
  TPassWatcher docs_;
  TPassWatcher cards_;
  TStrId passTextId_ = sNoText;  // the string-table text of the pass now running
  std::chrono::steady_clock::time_point passStarted_;
  std::chrono::steady_clock::time_point lastDrawn_;
  std::unique_ptr<QDialog> window_;
  QLabel* label_ = nullptr;
  QProgressBar* bar_ = nullptr;
};

// A count with its thousands grouped by commas: 1000000 gives "1,000,000".
std::string GroupedCount(int64_t count);
