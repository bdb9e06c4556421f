#include "docpaths/DatDocsDBServices.h"

#include "docpaths/PathRewriteRules.h"
#include "docpaths/TableRewriteWalk.h"

TDatDocsDBServicesDM::TDatDocsDBServicesDM(TComponent* owner)
    : TDataModule(owner, "DatDocsDBServicesDM") {
  DatDocsTbl.DatabaseName = "DBConnectionDM.DBConnection";
  DatDocsTbl.TableName = "Docs.adt";
  DatDocsTbl.RightsChecking = false;
}

TPassResult TDatDocsDBServicesDM::ChangeDocPathInDocs(const std::string& oldPath,
                                                      const std::string& newPath,
                                                      const TPassOptions& options) {
  TPassResult result;
  ChangeDocPathInDocs(oldPath, newPath, options, result);
  return result;
}

void TDatDocsDBServicesDM::ChangeDocPathInDocs(const std::string& oldPath,
                                               const std::string& newPath,
                                               const TPassOptions& options, TPassResult& result) {
  const TDocPathRule rule = MakeDocPathRule(oldPath, newPath);
  RewriteTableField(
      DatDocsTbl, "DOCUMENT_NAME",
      [&rule](const std::string& value, std::string& rewritten) {
        return RewriteDocPath(rule, value, rewritten);
      },
      options, result);
}
