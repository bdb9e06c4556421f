#include "ui/OnlineLinkFlags.h"

#include <algorithm>

namespace {
// Freed by FreeOnlineLinkFlags, never by static destruction.
TOnlineLinkFlagsMgr* Instance = nullptr;
}  // namespace

bool TOnlineLinkFlagsMgr::IsOnlineLink(int id) const {
  const std::string key = std::to_string(id);
  return std::any_of(entries_.begin(), entries_.end(),
                     [&key](const auto& entry) { return entry.first == key; });
}

void TOnlineLinkFlagsMgr::RegisterOnlineLink(int id, const std::string& address) {
  entries_.emplace_back(std::to_string(id), address);
}

TOnlineLinkFlagsMgr& OnlineLinkFlags() {
  if (!Instance) Instance = new TOnlineLinkFlagsMgr;
  return *Instance;
}

bool IsOnlineLink(int id) {
  return OnlineLinkFlags().IsOnlineLink(id);
}

void RegisterOnlineLink(int id, const std::string& address) {
  OnlineLinkFlags().RegisterOnlineLink(id, address);
}

void ClearOnlineLinks() {
  OnlineLinkFlags().ClearOnlineLinks();
}

void FreeOnlineLinkFlags() {
  delete Instance;
  Instance = nullptr;
}
