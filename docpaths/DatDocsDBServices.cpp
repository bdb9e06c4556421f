#include "docpaths/DatDocsDBServices.h"

#include "db/DatGenDBConnectionDM.h"
#include "docpaths/PathPasses.h"
#include "docpaths/TableRewriteWalk.h"

TDatDocsDBServicesDM::TDatDocsDBServicesDM(TComponent* owner)
    : TDataModule(owner, "DatDocsDBServicesDM") {
  DatDocsTbl.DatabaseName = MainConnectionLaidOut;
  DatDocsTbl.TableName = kDocsPass.Table;
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
  RewriteDocs(PassRule(kDocsPass, oldPath, newPath), options, result);
}

void TDatDocsDBServicesDM::RewriteDocs(const TValueRule& rule, const TPassOptions& options,
                                       TPassResult& result) {
  RewriteTableField(DatDocsTbl, kDocsPass.Field, rule, options, result);
}
