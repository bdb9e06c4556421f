// Freeze detection: a thread that watches whether the user-interface loop turns. When it has
// not turned for the time-out, the report is called once (on the watchdog's thread); a later
// turn re-arms it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class TFreezeWatchdog {
 public:
  TFreezeWatchdog(std::chrono::milliseconds timeout, std::function<void()> report);
  ~TFreezeWatchdog();
  TFreezeWatchdog(const TFreezeWatchdog&) = delete;
  TFreezeWatchdog& operator=(const TFreezeWatchdog&) = delete;

  // The loop turned.
  void Beat();

 private:
  void Watch();
  static int64_t NowMs();

  const std::chrono::milliseconds timeout_;
  const std::function<void()> report_;
  std::atomic<int64_t> lastBeat_;
  std::atomic<bool> reported_{false};
  std::mutex lock_;
  std::condition_variable stopping_;
  bool stop_ = false;
  std::thread thread_;
};
