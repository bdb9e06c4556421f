#include "docpaths/StoredFolders.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// scheme://..., the scheme a letter and then at least one letter, digit, "+", "-" or ".".
// Only the scheme is read, not the whole value.
bool IsUrl(std::string_view value) {
  if (value.empty() || !std::isalpha(static_cast<unsigned char>(value[0]))) return false;
  size_t end = 1;
  while (end < value.size()) {
    const auto c = static_cast<unsigned char>(value[end]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') break;
    ++end;
  }
  return end >= 2 && value.substr(end, 3) == "://";
}

size_t FindSeparator(std::string_view value, size_t from) {
  for (size_t i = from; i < value.size(); ++i)
    if (IsSeparator(value[i])) return i;
  return std::string_view::npos;
}

}  // namespace

const char* StoredKindName(TStoredKind kind) {
  switch (kind) {
    case TStoredKind::Folder:
      return "folder";
    case TStoredKind::Empty:
      return "empty";
    case TStoredKind::Url:
      return "url";
    case TStoredKind::Relative:
      return "relative";
    case TStoredKind::NoPath:
      break;
  }
  return "no path";
}

TStoredKind LeadingFolder(std::string_view value, int depth, TStoredValue what, size_t& length) {
  if (value.find_first_not_of(' ') == std::string_view::npos) return TStoredKind::Empty;
  if (IsUrl(value)) return TStoredKind::Url;
  size_t root = 0;  // where the root ends: C:\ or \\server\share
  if (value.size() >= 2 && IsSeparator(value[0]) && IsSeparator(value[1])) {
    const size_t server = FindSeparator(value, 2);
    if (server == 2 || value.size() == 2) return TStoredKind::Relative;  // no server name
    if (server == std::string_view::npos || server + 1 == value.size()) {
      root = std::min(server, value.size());  // \\server alone
    } else {
      const size_t share = FindSeparator(value, server + 1);
      root = std::min(share, value.size());
      if (share == std::string_view::npos && what == TStoredValue::File)
        root = server;  // \\server\file: the file is no share
    }
  } else if (value.size() >= 3 && std::isalpha(static_cast<unsigned char>(value[0])) &&
             value[1] == ':' && IsSeparator(value[2])) {
    root = 3;  // C:\ keeps its separator
  } else {
    const bool anySeparator = FindSeparator(value, 0) != std::string_view::npos;
    return what == TStoredValue::Preference && !anySeparator ? TStoredKind::NoPath
                                                             : TStoredKind::Relative;
  }
  size_t end = root;  // where the part taken so far ends
  for (int level = 1; level < depth && end < value.size();) {
    const size_t start = IsSeparator(value[end]) ? end + 1 : end;
    const size_t next = FindSeparator(value, start);
    if (next == start) {  // an empty part (C:\\Docs): no level of its own
      end = next;
      continue;
    }
    // A document's last part is its file.
    if (next == std::string_view::npos && what == TStoredValue::File) break;
    end = next == std::string_view::npos ? value.size() : next;
    ++level;
  }
  // A folder stored with a trailing separator (C:\Docs\) is the same folder as without.
  while (end > root && IsSeparator(value[end - 1])) --end;
  length = end;
  return TStoredKind::Folder;
}

void TFolderTally::Add(std::string_view value) {
  size_t length = 0;
  const TStoredKind kind = LeadingFolder(value, depth_, what_, length);
  ++kinds_[static_cast<size_t>(kind)];
  if (kind != TStoredKind::Folder) return;
  const std::string_view folder = value.substr(0, length);
  // Neighbouring records mostly lie in the same folder, spelt the same way: counted without a
  // look-up.
  if (last_.Group && folder == last_.Spelling) {
    ++last_.Group->Count;
    ++*last_.SpellingCount;
    return;
  }
  key_.assign(folder);
  for (char& c : key_)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  auto group = groups_.find(key_);
  if (group == groups_.end()) group = groups_.emplace(key_, TGroup{}).first;
  ++group->second.Count;
  key_.assign(folder);
  int64_t& spelling = group->second.Spellings[key_];
  ++spelling;
  // The maps' elements stay where they are when the maps grow.
  last_.Group = &group->second;
  last_.SpellingCount = &spelling;
  last_.Spelling.assign(folder);
}

std::vector<TFolderCount> TFolderTally::Folders(size_t limit) const {
  std::vector<TFolderCount> folders;
  folders.reserve(groups_.size());
  for (const auto& [key, group] : groups_) {
    const std::pair<const std::string, int64_t>* best = nullptr;
    for (const auto& spelling : group.Spellings)
      if (!best || spelling.second > best->second ||
          (spelling.second == best->second && spelling.first < best->first))
        best = &spelling;
    folders.push_back({best->first, group.Count});
  }
  std::sort(folders.begin(), folders.end(), [](const TFolderCount& a, const TFolderCount& b) {
    return a.Count != b.Count ? a.Count > b.Count : a.Folder < b.Folder;
  });
  if (limit != 0 && folders.size() > limit) folders.resize(limit);
  return folders;
}

int64_t TFolderTally::Total() const {
  int64_t total = 0;
  for (int64_t count : kinds_) total += count;
  return total;
}
