#include "docpaths/PathRewriteRules.h"

#include "common/PathUtils.h"
#include "common/SysUtils.h"

TDocPathRule MakeDocPathRule(const std::string& oldPath, const std::string& newPath) {
  return {AddTrailingBackslash(UpperCase(oldPath)), AddTrailingBackslash(newPath)};
}

TCardFolderRule MakeCardFolderRule(const std::string& oldPath, const std::string& newPath) {
  return {UpperCase(RemoveTrailingBackslash(oldPath)), RemoveTrailingBackslash(newPath)};
}

bool StartsWithUpper(const std::string& value, const std::string& upperPrefix) {
  if (upperPrefix.empty() || value.size() < upperPrefix.size()) return false;
  for (size_t i = 0; i < upperPrefix.size(); ++i) {
    if (UpCase(value[i]) != upperPrefix[i]) return false;
  }
  return true;
}

bool RewriteDocPath(const TDocPathRule& rule, const std::string& value, std::string& result) {
  if (!StartsWithUpper(value, rule.OldPrefix)) return false;
  result.assign(rule.NewPrefix);
  result.append(value, rule.OldPrefix.size(), std::string::npos);
  return true;
}

bool RewriteCardFolder(const TCardFolderRule& rule, const std::string& value, std::string& folder,
                       std::string& rest, std::string& result) {
  folder.assign(value);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (!StartsWithUpper(folder, rule.OldPrefix)) return false;
  size_t cut = rule.OldPrefix.size();
  if (cut < folder.size() && folder[cut] != '\\') return false;  // C:\DOCS is not C:\DOCS2
  rest.assign(folder, cut, std::string::npos);
  result.assign(rule.NewPrefix);
  result.append(rest);
  return true;
}
