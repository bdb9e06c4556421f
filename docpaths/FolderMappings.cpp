#include "docpaths/FolderMappings.h"

#include <algorithm>

#include "common/PathTextCheck.h"
#include "common/PathUtils.h"
#include "common/SysUtils.h"
#include "docpaths/PathRewriteRules.h"

namespace {

// An old folder as two rows are compared: letter case and one trailing backslash aside.
std::string OldFolderKey(const std::string& old) {
  return UpperCase(RemoveTrailingBackslash(old));
}

// The rows' old folders as the document rule takes them (upper-cased, with a trailing
// backslash), each naming the first row that has it; an empty one matches nothing. A folder is
// looked up at each of its backslashes, so checking every row against every other costs a few
// look-ups per row, not one per pair.
class TOldFolderIndex {
 public:
  explicit TOldFolderIndex(const TFolderMappingRows& rows) {
    for (size_t row = 0; row < rows.size(); ++row) {
      std::string prefix = MakeDocPathRule(rows[row].Old, {}).OldPrefix;
      if (!prefix.empty()) rows_.emplace(std::move(prefix), row);
    }
  }
  // The rows (in their order) whose old folder folder lies under or is; strictly: under only.
  std::vector<size_t> Above(const std::string& folder, bool strictly) const {
    const std::string path = AddTrailingBackslash(UpperCase(folder));
    std::vector<size_t> found;
    for (size_t end = 0; end < path.size(); ++end) {
      if (path[end] != '\\' || (strictly && end + 1 == path.size())) continue;
      if (auto it = rows_.find(path.substr(0, end + 1)); it != rows_.end())
        found.push_back(it->second);
    }
    std::sort(found.begin(), found.end());
    return found;
  }

 private:
  std::unordered_map<std::string, size_t> rows_;
};

}  // namespace

std::optional<TMappingConflict> FindMappingConflict(const TFolderMappingRows& rows) {
  std::unordered_map<std::string, size_t> seen;
  for (size_t second = 0; second < rows.size(); ++second)
    if (auto [first, added] = seen.emplace(OldFolderKey(rows[second].Old), second); !added)
      return TMappingConflict{TMappingConflict::SameOld, first->second, second};
  // Aliases of one share moved into a folder under one of them only nest as a one-folder
  // replace to a folder under its old one does: that is the re-run hazard, not a conflict.
  const TOldFolderIndex olds(rows);
  for (size_t second = 0; second < rows.size(); ++second)
    for (const size_t first : olds.Above(rows[second].New, false))
      if (first != second && OldFolderKey(rows[second].New) != OldFolderKey(rows[first].New))
        return TMappingConflict{TMappingConflict::RewrittenAgain, first, second};
  return std::nullopt;
}

bool NewFolderUnderOld(const std::string& oldPath, const std::string& newPath) {
  const TDocPathRule rule = MakeDocPathRule(oldPath, newPath);
  const std::string newFolder = AddTrailingBackslash(newPath);
  return newFolder.size() > rule.OldPrefix.size() && StartsWithUpper(newFolder, rule.OldPrefix);
}

std::optional<std::pair<size_t, size_t>> FindNewUnderOld(const TFolderMappingRows& rows) {
  const TOldFolderIndex olds(rows);
  for (size_t to = 0; to < rows.size(); ++to)
    if (const std::vector<size_t> above = olds.Above(rows[to].New, true); !above.empty())
      return std::pair{above.front(), to};
  return std::nullopt;
}

TMappingRule::TMappingRule(TPathRuleKind kind, const TFolderMappingRows& rows) : kind_(kind) {
  for (size_t row = 0; row < rows.size(); ++row) {
    TEntry entry{{}, {}, row};
    if (kind == TPathRuleKind::DocumentFile) {
      const TDocPathRule rule = MakeDocPathRule(rows[row].Old, rows[row].New);
      entry.OldPrefix = rule.OldPrefix, entry.NewPrefix = rule.NewPrefix;
    } else {
      const TCardFolderRule rule = MakeCardFolderRule(rows[row].Old, rows[row].New);
      entry.OldPrefix = rule.OldPrefix, entry.NewPrefix = rule.NewPrefix;
    }
    if (entry.OldPrefix.empty()) continue;  // matches nothing, as in the one-folder rules
    entries_.push_back(std::move(entry));
  }
  std::stable_sort(entries_.begin(), entries_.end(), [](const TEntry& a, const TEntry& b) {
    return a.OldPrefix.size() > b.OldPrefix.size();
  });
  for (size_t i = 0; i < entries_.size(); ++i) {
    const size_t length = entries_[i].OldPrefix.size();
    if (groups_.empty() || groups_.back().Length != length) groups_.push_back({length, i, {}});
    groups_.back().ByPrefix.emplace(entries_[i].OldPrefix, i);  // the first row keeps a prefix
  }
}

const TMappingRule::TEntry* TMappingRule::Find(const std::string& value, size_t end) {
  for (const TGroup& group : groups_) {
    const size_t length = group.Length;
    if (length > end) continue;
    // The folder boundary: a document prefix ends with its backslash; a card prefix is
    // followed by a backslash or the end of the folder.
    if (kind_ == TPathRuleKind::DocumentFile ? value[length - 1] != '\\'
                                             : length < end && value[length] != '\\')
      continue;
    if (group.ByPrefix.size() == 1) {
      const TEntry& entry = entries_[group.First];
      if (StartsWithUpper(value, entry.OldPrefix)) return &entry;
      continue;
    }
    key_.assign(value, 0, length);
    for (char& c : key_) c = UpCase(c);
    if (auto it = group.ByPrefix.find(key_); it != group.ByPrefix.end())
      return &entries_[it->second];
  }
  return nullptr;
}

int TMappingRule::Rewrite(const std::string& value, std::string& rewritten) {
  if (kind_ == TPathRuleKind::DocumentFile) {
    const TEntry* entry = Find(value, value.size());
    if (!entry) return -1;
    rewritten.assign(entry->NewPrefix);
    rewritten.append(value, entry->OldPrefix.size(), std::string::npos);
    return static_cast<int>(entry->Row);
  }
  folder_.assign(value);
  if (!folder_.empty() && folder_.back() == '\\') folder_.pop_back();
  const TEntry* entry = Find(folder_, folder_.size());
  if (!entry) {
    work_.assign(folder_);
    return -1;
  }
  work_.assign(folder_, entry->OldPrefix.size(), std::string::npos);
  rewritten.assign(entry->NewPrefix);
  rewritten.append(work_);
  return static_cast<int>(entry->Row);
}

size_t TMappingRule::NewFolderChars(size_t row) const {
  for (const TEntry& entry : entries_)
    if (entry.Row == row) return entry.NewPrefix.size();
  return 0;
}

TValueRule MappingValueRule(TMappingRule& rule, int& row) {
  return [&rule, &row](const std::string& value, std::string& rewritten) {
    const int matched = rule.Rewrite(value, rewritten);
    if (matched < 0) return false;
    row = matched;
    return true;
  };
}

std::string FormatMappingRows(const TFolderMappingRows& rows) {
  std::string text;
  for (const TFolderMapping& row : rows) text += row.Old + '\t' + row.New + '\n';
  return text;
}

TFolderMappingRows ParseMappingRows(const std::string& text) {
  TFolderMappingRows rows;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t tab = line.find('\t');
    if (tab == std::string::npos)
      rows.push_back({line, {}});
    else
      rows.push_back({line.substr(0, tab), line.substr(tab + 1)});
    start = end + 1;
  }
  return rows;
}

namespace {

// Reads the mapping file's records as RFC 4180 has them, one at a time.
class TMappingFileReader {
 public:
  explicit TMappingFileReader(const std::string& text) : text_(text) {}

  // The next record's fields; false at the end. A fault leaves the reader at its line.
  bool Next(std::vector<std::string>& fields, TMappingFile::TFault& fault) {
    fields.clear();
    if (at_ >= text_.size()) return false;
    line_ = lineAt_;
    for (;;) {
      std::string field;
      if (text_[at_] == '"') {
        if (!Quoted(field)) {
          fault = TMappingFile::BadQuotes;
          return true;
        }
      } else {
        for (; at_ < text_.size() && !EndOfField(); ++at_) {
          if (text_[at_] == '"') {
            fault = TMappingFile::BadQuotes;
            return true;
          }
          field += text_[at_];
        }
      }
      fields.push_back(std::move(field));
      if (at_ < text_.size() && text_[at_] == ',') {
        ++at_;
        continue;
      }
      if (at_ < text_.size() && !SkipLineEnd()) {
        fault = TMappingFile::BadQuotes;  // text after a closing quote
        return true;
      }
      return true;
    }
  }
  size_t Line() const { return line_; }

 private:
  bool EndOfField() const {
    const char c = text_[at_];
    return c == ',' || c == '\n' || (c == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n');
  }
  bool SkipLineEnd() {
    if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
    if (text_[at_] != '\n') return false;
    ++at_;
    ++lineAt_;
    return true;
  }
  // A quoted field from its opening quote; false when it is never closed.
  bool Quoted(std::string& field) {
    for (++at_; at_ < text_.size(); ++at_) {
      const char c = text_[at_];
      if (c == '"') {
        if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
          field += '"';
          ++at_;
          continue;
        }
        ++at_;
        return true;
      }
      if (c == '\n') ++lineAt_;
      field += c;
    }
    return false;
  }

  const std::string& text_;
  size_t at_ = 0;
  size_t lineAt_ = 1;
  size_t line_ = 1;
};

bool IsHeader(const std::vector<std::string>& fields) {
  return fields.size() == 2 && UpperCase(fields[0]) == "OLD" && UpperCase(fields[1]) == "NEW";
}

}  // namespace

TMappingFile ParseMappingFile(const std::string& text) {
  TMappingFile file;
  const auto fail = [&file](TMappingFile::TFault fault, size_t line) {
    file.Fault = fault;
    file.Line = line;
    file.Rows.clear();
    return file;
  };
  const std::string bom = "\xEF\xBB\xBF";
  const std::string body = text.compare(0, bom.size(), bom) == 0 ? text.substr(bom.size()) : text;
  if (const size_t valid = ValidUtf8Length(body); valid < body.size())
    return fail(TMappingFile::NotUtf8,
                1 + static_cast<size_t>(std::count(body.begin(), body.begin() + valid, '\n')));
  TMappingFileReader reader(body);
  std::vector<std::string> fields;
  bool header = false;
  for (TMappingFile::TFault fault = TMappingFile::None; reader.Next(fields, fault);) {
    if (fault != TMappingFile::None) return fail(fault, reader.Line());
    if (fields.size() == 1 && fields[0].empty()) continue;  // a blank line
    if (!header) {
      if (!IsHeader(fields)) return fail(TMappingFile::NoHeader, reader.Line());
      header = true;
      continue;
    }
    if (fields.size() != 2) return fail(TMappingFile::FieldCount, reader.Line());
    if (Trim(fields[0]).empty() || Trim(fields[1]).empty())
      return fail(TMappingFile::EmptyValue, reader.Line());
    file.Rows.push_back({fields[0], fields[1]});
  }
  if (!header) return fail(TMappingFile::NoHeader, 1);
  if (file.Rows.empty()) return fail(TMappingFile::NoRows, reader.Line());
  return file;
}
