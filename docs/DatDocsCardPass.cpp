// The card pass of a replace: rewrites DOCSFOLDER of every matching card. It catches its own
// failures: the message and the log entry tell what happened, and the result says the pass did
// not complete so the caller does not report success.
#include <memory>

#include "common/StrTable.h"
#include "db/DatGenDBConnectionDM.h"
#include "docs/DatDocsDBServices.h"
#include "docs/PathRewriteRules.h"
#include "docs/TableRewriteWalk.h"
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
    std::string rest;
    RewriteTableField(
        *table, "DOCSFOLDER",
        [&](const std::string& value, std::string& rewritten) {
          bool matches = RewriteCardFolder(rule, value, folder, rest, rewritten);
          work = matches ? rest : folder;
          return matches;
        },
        options, result);
  } catch (const std::exception& e) {
    if (Platform().HasUi())
      Platform().Ui().ShowMessage(LoadStr(64996) + "\r\n" + e.what(), TMessageKind::mkError);
    if (!options.DryRun)
      LogEventEx(sender, "ChangeDoPathInCards", "OLD: " + folder + " NEW: " + work, &e);
  }
  return result;
}
