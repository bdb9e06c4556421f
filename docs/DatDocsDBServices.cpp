#include "docs/DatDocsDBServices.h"

#include "docs/PassProgress.h"
#include "docs/PathRewriteRules.h"

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
  const TDocPathRule rule = MakeDocPathRule(oldPath, newPath);
  // A dry run opens the table read-only: nothing can be written, not even by mistake.
  if (DatDocsTbl.Active() && DatDocsTbl.ReadOnly != options.DryRun) DatDocsTbl.Close();
  DatDocsTbl.ReadOnly = options.DryRun;
  DatDocsTbl.Open();
  TAdsField& documentName = DatDocsTbl.FieldByName("DOCUMENT_NAME");
  TPassProgress progress(options.Observer, DatDocsTbl);
  std::string rewritten;
  while (!DatDocsTbl.Eof()) {
    ++result.Examined;
    const std::string& value = documentName.AsString();
    if (RewriteDocPath(rule, value, rewritten)) {
      if (options.Observer) options.Observer->Rewritten(value, rewritten);
      if (!options.DryRun) {
        DatDocsTbl.Edit();
        documentName.SetAsString(rewritten);
        DatDocsTbl.Post();
      }
      ++result.Rewritten;  // counted once posted
    }
    progress.Step(result.Examined);
    DatDocsTbl.Next();
  }
  progress.Finish(result.Examined);
  DatDocsTbl.Close();  // commits the last posts
  result.Completed = true;
  return result;
}
