// The leading folders of stored paths, as the survey of a database shows them: which folders the
// records name, grouped as an administrator thinks of a share, with their record counts.
//
// A path is cut after its first depth levels, its root counting as the first:
//   drive path  C:\VarnelDocs\Smith\a.doc   depth 1: C:\   depth 2: C:\VarnelDocs
//   UNC path    \\fs1\Docs\Scans\x.tif      depth 1: \\fs1\Docs   depth 2: \\fs1\Docs\Scans
// Backslash and slash both separate folders, but the spelling is kept: C:/Docs is not grouped
// with C:\Docs, since a replace of one does not take the other. Letter case is ignored (as the
// replace ignores it), and a group is shown in the spelling stored most often (ties: the first
// in text order). A document's last part is its file, never a folder; a card's folder and a
// preference's value are folders throughout. A trailing separator makes no folder of its own:
// the card folders C:\Docs\ and C:\Docs are one group.
//
// Values that are no absolute path are counted apart by kind: empty (blanks only), a URL
// (scheme://...), relative (anything else holding a separator, or a drive without a backslash,
// C:Docs), and, for preference values only, no path at all (no separator: Y, 12, a name).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

enum class TStoredKind : uint8_t { Folder, Empty, Url, Relative, NoPath };
inline constexpr size_t kStoredKinds = 5;
// The kinds of value that are no absolute path, in the order the survey lists them.
inline constexpr TStoredKind kNoFolderKinds[] = {TStoredKind::Empty, TStoredKind::Url,
                                                 TStoredKind::Relative, TStoredKind::NoPath};
// "empty", "url", "relative", "no path" (Folder: "folder").
const char* StoredKindName(TStoredKind kind);

// What a value is: a file path (documents), a folder (cards), or a preference's text.
enum class TStoredValue : uint8_t { File, Folder, Preference };

inline constexpr int kMinSurveyDepth = 1;
inline constexpr int kMaxSurveyDepth = 8;
inline constexpr int kDefaultSurveyDepth = 2;

// The kind of value, and for a Folder the length of its leading folder of depth levels (a prefix
// of value, without a trailing separator except a drive's root, C:\).
TStoredKind LeadingFolder(std::string_view value, int depth, TStoredValue what, size_t& length);

struct TFolderCount {
  std::string Folder;  // in the spelling stored most often
  int64_t Count = 0;
};

// Counts values by leading folder and kind.
class TFolderTally {
 public:
  TFolderTally(int depth, TStoredValue what) : depth_(depth), what_(what) {}
  void Add(std::string_view value);
  // The folders, most records first (ties in text order); at most limit of them (0: all).
  std::vector<TFolderCount> Folders(size_t limit = 0) const;
  int64_t Count(TStoredKind kind) const { return kinds_[static_cast<size_t>(kind)]; }
  int64_t Total() const;

 private:
  struct TGroup {
    int64_t Count = 0;
    std::unordered_map<std::string, int64_t> Spellings;
  };
  // The group and spelling of the last folder added. A copy of the tally starts without: its
  // pointers would lead into the original's maps.
  struct TLastFolder {
    TLastFolder() = default;
    TLastFolder(const TLastFolder&) {}
    TLastFolder& operator=(const TLastFolder&) {
      Group = nullptr;
      return *this;
    }
    TGroup* Group = nullptr;
    int64_t* SpellingCount = nullptr;
    std::string Spelling;
  };
  int depth_;
  TStoredValue what_;
  std::array<int64_t, kStoredKinds> kinds_{};
  std::unordered_map<std::string, TGroup> groups_;  // by the upper-cased folder
  std::string key_;                                 // reused for each value
  TLastFolder last_;
};
