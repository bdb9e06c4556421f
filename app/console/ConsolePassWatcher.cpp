#include "app/console/ConsolePassWatcher.h"

#include <ostream>

TConsolePassWatcher::TConsolePassWatcher(std::ostream& err, std::string label, bool showProgress)
    : err_(err), label_(std::move(label)), showProgress_(showProgress) {}

void TConsolePassWatcher::Progress(int64_t done, int64_t total) {
  if (!showProgress_) return;
  const auto now = std::chrono::steady_clock::now();
  const bool last = done >= total;
  if (drawn_ && !last && now - lastDrawn_ < RefreshInterval) return;
  err_ << '\r' << label_ << ": " << done << " of " << total << std::flush;
  drawn_ = true;
  lastDrawn_ = now;
  if (last) Finish();  // the next pass draws on a line of its own
}

void TConsolePassWatcher::Rewritten(const std::string& oldValue, const std::string& newValue) {
  if (samples_.size() < MaxSamples) samples_.emplace_back(oldValue, newValue);
}

void TConsolePassWatcher::Finish() {
  if (drawn_) err_ << std::endl;
  drawn_ = false;
}
