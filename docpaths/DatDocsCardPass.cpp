// The card pass of a replace: rewrites DOCSFOLDER of every matching card. It catches its own
// failures: the message and the log entry tell what happened, and the result says the pass did
// not complete so the caller does not report success.
#include <memory>

#include "common/StrTable.h"
#include "docpaths/DatDocsDBServices.h"
#include "docpaths/PathPasses.h"
#include "docpaths/PathRewriteRules.h"
#include "docpaths/TableRewriteWalk.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/StopRequest.h"
#include "platform/UiServices.h"

void RunCardPass(const TObject* sender, const std::string& logName, bool dryRun,
                 const std::function<void()>& walk, const std::function<std::string()>& logText) {
  try {
    walk();
  } catch (const EStopRequested&) {
    throw;  // not a failure: the command ends the run as stopped
  } catch (const std::exception& e) {
    if (Platform().HasUi())
      Platform().Ui().ShowMessage(LoadStr(sProcessFailed) + "\r\n" + e.what(),
                                  TMessageKind::mkError);
    if (!dryRun) LogEventEx(sender, logName, logText(), &e);
  }
}

std::string TCardPassTrace::LogText() const {
  return "OLD: " + Folder + " NEW: " + Work;
}

void WalkCardFolders(const std::string& oldPath, const std::string& newPath,
                     const TPassOptions& options, TPassResult& result, TCardPassTrace& trace) {
  const TCardFolderRule rule = MakeCardFolderRule(oldPath, newPath);
  std::string rest;
  WalkCardFolders(
      [&](const std::string& value, std::string& rewritten) {
        bool matches = RewriteCardFolder(rule, value, trace.Folder, rest, rewritten);
        trace.Work = matches ? rest : trace.Folder;
        return matches;
      },
      options, result);
}

void WalkCardFolders(const TValueRule& rule, const TPassOptions& options, TPassResult& result) {
  auto table = std::make_unique<TAdsTable>(nullptr, "");
  BindPassTable(*table, kCardsPass);
  RewriteTableField(*table, kCardsPass.Field, rule, options, result);
}

TPassResult ChangeDocPathInCards(const TObject* sender, const std::string& oldPath,
                                 const std::string& newPath, const TPassOptions& options) {
  TPassResult result;
  TCardPassTrace trace;
  RunCardPass(
      sender, kCardPassLogName, options.DryRun,
      [&] { WalkCardFolders(oldPath, newPath, options, result, trace); },
      [&] { return trace.LogText(); });
  return result;
}
