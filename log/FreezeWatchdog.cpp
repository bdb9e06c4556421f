#include "log/FreezeWatchdog.h"

#include <algorithm>

TFreezeWatchdog::TFreezeWatchdog(std::chrono::milliseconds timeout, std::function<void()> report)
    : timeout_(timeout), report_(std::move(report)), lastBeat_(NowMs()) {
  thread_ = std::thread([this] { Watch(); });
}

TFreezeWatchdog::~TFreezeWatchdog() {
  {
    std::lock_guard guard(lock_);
    stop_ = true;
  }
  stopping_.notify_all();
  thread_.join();
}

int64_t TFreezeWatchdog::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void TFreezeWatchdog::Beat() {
  lastBeat_.store(NowMs());
  reported_.store(false);
}

void TFreezeWatchdog::Watch() {
  // Looks a few times per time-out, at least once a second.
  const auto step =
      std::clamp(timeout_ / 4, std::chrono::milliseconds(10), std::chrono::milliseconds(1000));
  std::unique_lock guard(lock_);
  while (!stopping_.wait_for(guard, step, [this] { return stop_; })) {
    if (NowMs() - lastBeat_.load() < timeout_.count() || reported_.exchange(true)) continue;
    guard.unlock();
    try {
      report_();
    } catch (...) {
    }
    guard.lock();
  }
}
