// The registry of help links whose numbers lie in the range reserved for online links, filled
// by the web help link manager each time it loads the links file: which numbers exist, and the
// address each had when first met. One process-wide instance, created on first use.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TOnlineLinkFlagsMgr {
 public:
  // True when the decimal text of id is listed.
  bool IsOnlineLink(int id) const;
  // Appends an entry without looking for an existing one.
  void RegisterOnlineLink(int id, const std::string& address);
  void ClearOnlineLinks() { entries_.clear(); }
  // (decimal number, address) in registration order.
  const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

// The three operations on the single instance, which they create when needed.
bool IsOnlineLink(int id);
void RegisterOnlineLink(int id, const std::string& address);
void ClearOnlineLinks();
// The instance, created when needed.
TOnlineLinkFlagsMgr& OnlineLinkFlags();
// Frees the instance and its entries (end of the process, or between tests).
void FreeOnlineLinkFlags();
