// The document path rewrite: the document pass over Docs and the card pass over Cards.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/Forms.h"
#include "platform/engine/AdsComponents.h"

// Answers true and fills rewritten when value matches the pass's rule.
using TValueRule = std::function<bool(const std::string& value, std::string& rewritten)>;

// What a pass did.
struct TPassResult {
  int64_t Examined = 0;         // records visited
  int64_t Rewritten = 0;        // records rewritten and committed (in a dry run: to rewrite)
  int64_t ChangedByOthers = 0;  // left alone: another station changed them during the pass
  bool Completed = false;
  // A replace of several folders: the records rewritten per mapping row, as its rule told them
  // (docpaths/FolderMappings.h); empty otherwise. They add up to Rewritten unless a post the
  // rule counted was refused or not committed.
  std::vector<int64_t> ByRow = {};
};

// Watches a pass: progress and each rewrite. Both are optional.
class TRewriteObserver {
 public:
  virtual ~TRewriteObserver() = default;
  virtual void Progress(int64_t done, int64_t total) { (void)done, (void)total; }
  virtual void Rewritten(const std::string& oldValue, const std::string& newValue) {
    (void)oldValue, (void)newValue;
  }
};

struct TPassOptions {
  bool DryRun = false;  // compute every rewrite, post none
  TRewriteObserver* Observer = nullptr;
  const TAcePostJournal* Journal = nullptr;  // journal every post (not in a dry run)
  // Records (by RECID) the pass leaves alone: those a resumed run already rewrote.
  const std::unordered_set<std::string>* SkipRecIds = nullptr;
  // Told of each record the pass rewrote, right after its post (a dry run: each it would
  // rewrite), so that the rule that matched it last can tell which of several folders it was.
  std::function<void()> Rewrote = nullptr;
};

// Data module of one replace command; owns the document table.
class TDatDocsDBServicesDM : public TDataModule {
 public:
  explicit TDatDocsDBServicesDM(TComponent* owner);
  std::string ClassName() const override { return "TDatDocsDBServicesDM"; }
  std::string UnitName() const override { return "DatDocsDBServices"; }

  TAdsTable DatDocsTbl{this, "DatDocsTbl"};

  // Rewrites DOCUMENT_NAME in every matching document; failures propagate.
  TPassResult ChangeDocPathInDocs(const std::string& oldPath, const std::string& newPath,
                                  const TPassOptions& options = {});
  // The same, counting into result as it goes: it holds the counts so far when a failure
  // propagates.
  void ChangeDocPathInDocs(const std::string& oldPath, const std::string& newPath,
                           const TPassOptions& options, TPassResult& result);
  // The same walk by another rule (several folders at once: FolderMappings.h).
  void RewriteDocs(const TValueRule& rule, const TPassOptions& options, TPassResult& result);
};

// Runs the walk of a card pass (the replace's, the undo's). A failure stops the pass: it is
// shown ("The process failed" and the message) and, in a real run, logged under logName with
// sender, the text logText() gives and the exception; it goes no further. A stop request is no
// failure and propagates.
void RunCardPass(const TObject* sender, const std::string& logName, bool dryRun,
                 const std::function<void()>& walk, const std::function<std::string()>& logText);

// Where the card pass was when it failed, for its log entry: the current card's folder without
// its trailing backslash, and what follows the old prefix once it is cut off (else the folder).
struct TCardPassTrace {
  std::string Folder;
  std::string Work;
  std::string LogText() const;  // "OLD: <folder> NEW: <work>"
};
inline constexpr const char* kCardPassLogName = "ChangeDoPathInCards";

// The card pass's walk without its failure handling: failures propagate.
void WalkCardFolders(const std::string& oldPath, const std::string& newPath,
                     const TPassOptions& options, TPassResult& result, TCardPassTrace& trace);
// The same walk by another rule (several folders at once: FolderMappings.h).
void WalkCardFolders(const TValueRule& rule, const TPassOptions& options, TPassResult& result);

// Rewrites DOCSFOLDER in every matching card. A failure stops the pass, is shown ("The process
// failed") and logged ("ChangeDoPathInCards") with sender, and Completed is false. A dry run
// writes nothing, not even that log entry: its failure is only shown.
TPassResult ChangeDocPathInCards(const TObject* sender, const std::string& oldPath,
                                 const std::string& newPath, const TPassOptions& options = {});
