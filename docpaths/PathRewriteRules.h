// How one stored value is matched and rewritten by the two passes of a replace, without any
// database: the passes, their dry run and the benchmarks share these functions.
//
// Document pass: old and new prefix get a trailing backslash; a value matches when it begins
// with the old prefix (letter case ignored); the result is the new prefix as typed followed by
// the rest of the value in its stored letter case.
//
// Card pass: old prefix, new prefix and the stored value lose one trailing backslash; a value
// matches when it begins with the old prefix (letter case ignored) and either ends there or
// goes on with a backslash, so C:\DOCS never matches C:\DOCS2; the result is the new prefix
// followed by the rest in its stored letter case.
//
// In both passes an empty old prefix matches nothing.
#pragma once

#include <string>

struct TDocPathRule {
  std::string OldPrefix;  // upper-cased, with a trailing backslash
  std::string NewPrefix;  // as typed, with a trailing backslash
};

struct TCardFolderRule {
  std::string OldPrefix;  // upper-cased, without a trailing backslash
  std::string NewPrefix;  // as typed, without a trailing backslash
};

TDocPathRule MakeDocPathRule(const std::string& oldPath, const std::string& newPath);
TCardFolderRule MakeCardFolderRule(const std::string& oldPath, const std::string& newPath);

// True when value begins with upperPrefix, ASCII letters compared without case; an empty
// prefix never matches.
bool StartsWithUpper(const std::string& value, const std::string& upperPrefix);

// Writes the rewritten document path into result and answers true when the value matches.
bool RewriteDocPath(const TDocPathRule& rule, const std::string& value, std::string& result);

// For a card folder: folder receives the value without its trailing backslash (what the log
// calls the old value); on a match rest receives what follows the old prefix and result the
// rewritten folder, and the answer is true.
bool RewriteCardFolder(const TCardFolderRule& rule, const std::string& value, std::string& folder,
                       std::string& rest, std::string& result);
