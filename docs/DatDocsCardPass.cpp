// The card pass of a replace: rewrites DOCSFOLDER of every matching card. It catches its own
// failures: the message and the log entry tell what happened, and the result says the pass did
// not complete so the caller does not report success.
#include <memory>

#include "common/StrTable.h"
#include "db/DatGenDBConnectionDM.h"
#include "docs/DatDocsDBServices.h"
#include "docs/PassProgress.h"
#include "docs/PathRewriteRules.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

TPassResult ChangeDocPathInCards(const TObject* sender, const std::string& oldPath,
                                 const std::string& newPath, const TPassOptions& options) {
  TPassResult result;
  std::string folder;  // the current card's folder without its trailing backslash
  std::string work;    // what follows the old prefix once it is cut off, else the folder
  try {
    const TCardFolderRule rule = MakeCardFolderRule(oldPath, newPath);
    auto table = std::make_unique<TAdsTable>(nullptr, "");
    TDBConnectionDM* module = DBConnectionDM();
    table->DatabaseName = module ? module->DBConnection.Name() : "DBConnection";
    table->TableName = "Cards.Adt";
    table->ReadOnly = options.DryRun;
    table->Open();
    table->First();
    TAdsField& docsFolder = table->FieldByName("DOCSFOLDER");
    TPassProgress progress(options.Observer, *table);
    std::string rest, rewritten;
    while (!table->Eof()) {
      ++result.Examined;
      const std::string& value = docsFolder.AsString();
      bool matches = RewriteCardFolder(rule, value, folder, rest, rewritten);
      work = matches ? rest : folder;
      if (matches) {
        if (options.Observer) options.Observer->Rewritten(value, rewritten);
        if (!options.DryRun) {
          table->Edit();
          docsFolder.SetAsString(rewritten);
          table->Post();
        }
        ++result.Rewritten;  // counted once posted: a refused post is no rewrite
      }
      progress.Step(result.Examined);
      table->Next();
    }
    progress.Finish(result.Examined);
    table->Close();  // commits the last posts
    result.Completed = true;
  } catch (const std::exception& e) {
    if (Platform().HasUi())
      Platform().Ui().ShowMessage(LoadStr(64996) + "\r\n" + e.what(), TMessageKind::mkError);
    LogEventEx(sender, "ChangeDoPathInCards", "OLD: " + folder + " NEW: " + work, &e);
  }
  return result;
}
