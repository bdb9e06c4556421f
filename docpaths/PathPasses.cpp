#include "docpaths/PathPasses.h"

#include "db/DatGenDBConnectionDM.h"
#include "docpaths/PathRewriteRules.h"

void BindPassTable(TAdsTable& table, const TPathPass& pass) {
  table.DatabaseName = MainConnectionName;
  table.TableName = pass.Table;
}

TValueRule PassRule(const TPathPass& pass, const std::string& oldPath, const std::string& newPath) {
  if (pass.Rule == TPathRuleKind::DocumentFile) {
    return [rule = MakeDocPathRule(oldPath, newPath)](const std::string& value,
                                                      std::string& rewritten) {
      return RewriteDocPath(rule, value, rewritten);
    };
  }
  return [rule = MakeCardFolderRule(oldPath, newPath), folder = std::string(),
          rest = std::string()](const std::string& value, std::string& rewritten) mutable {
    return RewriteCardFolder(rule, value, folder, rest, rewritten);
  };
}

size_t NewFolderChars(const TPathPass& pass, const std::string& oldPath,
                      const std::string& newPath) {
  return pass.Rule == TPathRuleKind::DocumentFile
             ? MakeDocPathRule(oldPath, newPath).NewPrefix.size()
             : MakeCardFolderRule(oldPath, newPath).NewPrefix.size();
}
