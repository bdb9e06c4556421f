// The rules that rewrite a stored document path or card folder, on any old folder, new folder
// and stored value: a match is decided by the old prefix alone, letter case of ASCII letters
// aside; a rewrite is the new prefix followed by the rest of the value byte for byte; the rule
// from the new folder back to the old one takes the rewrite back to the old prefix as typed
// with the same rest; an empty old folder matches nothing. Input: NUL-separated old folder, new
// folder and value.
#include "common/PathUtils.h"
#include "common/SysUtils.h"
#include "docpaths/PathRewriteRules.h"
#include "tests/fuzz/targets/FuzzSupport.h"

namespace {

std::string AsciiLowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

void CheckDocumentRule(const std::string& oldPath, const std::string& newPath,
                       const std::string& value) {
  const TDocPathRule rule = MakeDocPathRule(oldPath, newPath);
  std::string result = "untouched";
  const bool match = RewriteDocPath(rule, value, result);
  std::string other;
  FUZZ_CHECK(RewriteDocPath(rule, UpperCase(value), other) == match);
  FUZZ_CHECK(RewriteDocPath(rule, AsciiLowerCase(value), other) == match);
  if (oldPath.empty()) FUZZ_CHECK(!match);
  const std::string typedOld = AddTrailingBackslash(oldPath);
  // A value that begins with the old folder as typed always matches.
  if (!oldPath.empty() && StartsWith(value, typedOld)) FUZZ_CHECK(match);
  if (!match) return;
  FUZZ_CHECK(UpperCase(value.substr(0, typedOld.size())) == UpperCase(typedOld));
  const std::string rest = value.substr(typedOld.size());
  FUZZ_CHECK(result == AddTrailingBackslash(newPath) + rest);
  if (newPath.empty()) return;
  std::string back;
  FUZZ_CHECK(RewriteDocPath(MakeDocPathRule(newPath, oldPath), result, back));
  FUZZ_CHECK(back == typedOld + rest);
  if (StartsWith(value, typedOld)) FUZZ_CHECK(back == value);
}

void CheckCardRule(const std::string& oldPath, const std::string& newPath,
                   const std::string& value) {
  const TCardFolderRule rule = MakeCardFolderRule(oldPath, newPath);
  std::string folder, rest, result;
  const bool match = RewriteCardFolder(rule, value, folder, rest, result);
  FUZZ_CHECK(folder == RemoveTrailingBackslash(value));
  std::string otherFolder, otherRest, other;
  FUZZ_CHECK(RewriteCardFolder(rule, UpperCase(value), otherFolder, otherRest, other) == match);
  FUZZ_CHECK(RewriteCardFolder(rule, AsciiLowerCase(value), otherFolder, otherRest, other) ==
             match);
  const std::string typedOld = RemoveTrailingBackslash(oldPath);
  if (typedOld.empty()) FUZZ_CHECK(!match);
  // The folder itself and every folder below it match; C:\Docs never takes C:\Docs2.
  if (!typedOld.empty() && (folder == typedOld || StartsWith(folder, typedOld + '\\')))
    FUZZ_CHECK(match);
  if (!match) return;
  FUZZ_CHECK(UpperCase(folder.substr(0, typedOld.size())) == UpperCase(typedOld));
  FUZZ_CHECK(rest == folder.substr(typedOld.size()));
  FUZZ_CHECK(rest.empty() || rest.front() == '\\');
  const std::string typedNew = RemoveTrailingBackslash(newPath);
  FUZZ_CHECK(result == typedNew + rest);
  // Back from the new folder, where the rewrite has no trailing backslash for the card rule to
  // drop.
  if (typedNew.empty() || result.back() == '\\') return;
  std::string backFolder, backRest, back;
  FUZZ_CHECK(
      RewriteCardFolder(MakeCardFolderRule(newPath, oldPath), result, backFolder, backRest, back));
  FUZZ_CHECK(backRest == rest && back == typedOld + rest);
  if (StartsWith(folder, typedOld)) FUZZ_CHECK(back == folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> texts = FuzzTexts(data, size, 3);
  CheckDocumentRule(texts[0], texts[1], texts[2]);
  CheckCardRule(texts[0], texts[1], texts[2]);
  return 0;
}
