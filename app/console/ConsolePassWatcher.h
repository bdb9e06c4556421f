// Watches one pass of the console program: a progress line on the error stream (only when it is
// a terminal, refreshed a few times per second at most) and the first rewrites of a dry run.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "docpaths/DatDocsDBServices.h"

class TConsolePassWatcher : public TRewriteObserver {
 public:
  static constexpr size_t MaxSamples = 20;
  static constexpr std::chrono::milliseconds RefreshInterval{250};

  TConsolePassWatcher(std::ostream& err, std::string label, bool showProgress);

  void Progress(int64_t done, int64_t total) override;
  void Rewritten(const std::string& oldValue, const std::string& newValue) override;
  // Ends the progress line, when one is drawn (the pass ended early, or at its end).
  void Finish();

  // The first MaxSamples rewrites, old and new value.
  const std::vector<std::pair<std::string, std::string>>& Samples() const { return samples_; }

 private:
  std::ostream& err_;
  std::string label_;
  bool showProgress_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point lastDrawn_;
  std::vector<std::pair<std::string, std::string>> samples_;
};
