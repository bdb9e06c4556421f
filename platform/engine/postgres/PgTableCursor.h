// A table on the remote server, walked in batches: each batch is one SELECT of the next rows
// after the last key read (keyset paging on the row key vrl_rowid, or on the active index's key
// then the row key), so a walk visits every record once even while other stations insert, and
// the table is never loaded whole. Only the columns asked for are fetched.
//
// Posts are queued and sent in groups: one UPDATE ... FROM unnest(arrays) statement per group,
// its own transaction (outside an explicit one), so a crash or a dropped connection leaves
// every record old or new. A group goes when it holds kPostsPerGroup posts or is
// kGroupInterval old, before the next batch is read, before a record is read again, when the
// table closes, and before the connection runs another statement or raises an error. A walk in
// row-key order outside an explicit transaction reads ahead: a batch's posts go right after
// the next batch is read, without waiting, through the connection's extra sessions in turn,
// and their result is taken before that session's next group and before the connection's next
// statement, so the server writes two batches at once while the program walks the next. Each
// post is a compare-and-set: it writes only while each changed field that was read still holds
// the value read. A post another station's change refused is known only once its group is
// sent; the cursor keeps it for NextRefused, which re-reads the record for the caller to decide
// again. A journalling cursor writes the journal rows in the same statement. The open options
// Exclusive and RightsChecking mean nothing on the remote server and are not used.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/engine/common/BatchedTableCursor.h"
#include "platform/engine/postgres/PgConnection.h"

class TPgTableCursor : public TBatchedTableCursor {
 public:
  TPgTableCursor(TPgConnection& connection, const std::string& tableName,
                 const TAceTableOptions& options);
  ~TPgTableCursor() override;

  void First() override;
  void Next() override;
  void Post(const std::vector<std::pair<size_t, std::string>>& changes) override;
  bool Refresh() override;
  void Close() override;
  int64_t CommittedPosts() const override { return committed_; }
  int64_t RecordCount() override;
  bool Seek(const std::string& key) override;
  std::optional<size_t> FieldWidth(size_t field) const override;
  void JournalPosts(const TAcePostJournal& journal) override;
  TAceRevisit NextRefused() override;

  // Sends the queued posts as one statement; the refused ones are kept for NextRefused. On
  // failure nothing of the group stays, and the error says how many posts were lost.
  void SendPosts();
  // Forgets the queued posts (the explicit transaction around them rolls back); how many.
  int64_t DropPosts() noexcept;
  // Takes the results of the groups sent without waiting through that session (nullptr: every
  // session): counts each, keeps its refused posts. A group that fails is lost whole, and the
  // posts queued and not yet sent go with it; the error says how many went. The other groups
  // on their way are each their own transaction and count as they end.
  void Collect(TPgSession* only = nullptr);

 private:
  static constexpr int kBatchRows = 2048;
  static constexpr size_t kPostsPerGroup = 2048;
  static constexpr std::chrono::milliseconds kGroupInterval{250};
  // How often one record's post may be refused before the walk gives up on it.
  static constexpr int kRefusalsPerRecord = 8;
  enum TFetch { fFirst, fAfter, fFrom, fSeek, fOne };
  struct TQueuedPost {
    int64_t rowid;
    std::vector<std::pair<size_t, std::string>> changes;
    std::vector<TCell> read;  // the values read, for the compared fields
    std::vector<bool> compared;
  };

  [[noreturn]] void Raise(const EADSDatabaseError& error) const final;
  void FetchFromCurrent() const override { Fetch(fFrom); }
  const std::string& Table() const override { return table_.Stored; }
  std::string FetchSql(TFetch kind) const;
  // Reads the next batch; fAfter and fFrom start at the current record's key, fSeek at the key
  // text, fOne reads the row key alone.
  void Fetch(TFetch kind, const std::string* key = nullptr, int64_t rowid = 0) const;
  // One group's statement and the values bound to it.
  struct TGroupStatement {
    std::string Sql;
    std::vector<std::string> Params;  // the first Binary of them in binary form, the rest text
    size_t Binary = 0;
    TPgParams Values() const;
  };
  TGroupStatement GroupStatement(const std::vector<const TQueuedPost*>& group) const;
  // Sends one group of posts of the same fields; the refused row keys are added to refused_.
  void SendGroup(const std::vector<const TQueuedPost*>& group);
  // Counts a group's result, the row keys written; the other posts sent were refused.
  void TakeResult(PGresult* result, const std::vector<int64_t>& sent);
  // The statement of the queued posts as one group; none when the queue is empty or holds
  // posts of several sets of fields.
  std::optional<TGroupStatement> QueuedGroup() const;
  // Sends the queued posts, whose statement is group, without waiting (Collect takes the
  // result); posts of several sets of fields go one set after the other, waited for, as
  // SendPosts sends them.
  void Launch(const std::optional<TGroupStatement>& group);
  bool ReadsAhead() const;
  void SendIfDue();
  std::string WriteFailure() const;
  static std::vector<std::pair<size_t, bool>> Shape(const TQueuedPost& post);
  static bool SameShape(const TQueuedPost& a, const TQueuedPost& b);
  // Whether a group of posts shaped as model can take its journal rows' old values from the
  // values read and the update's own result, without reading the records' old versions again.
  bool JournalFromUpdate(const TQueuedPost& model) const;

  TPgConnection& connection_;
  TPgTable table_;
  std::string quoted_;  // the table's name in statements
  bool readOnly_;

  std::vector<TQueuedPost> queue_;
  std::unordered_set<int64_t> queuedRows_;
  std::chrono::steady_clock::time_point queueStarted_;
  std::vector<int64_t> refused_;               // waiting for NextRefused
  std::unordered_map<int64_t, int> refusals_;  // how often each was refused
  struct TInFlight {
    TPgSession* session;
    std::vector<int64_t> rows;  // the row keys posted
  };
  std::vector<TInFlight> inFlight_;  // the groups sent without waiting, oldest first
  int64_t inFlightLast_ = 0;         // the last row key among them
  int64_t committed_ = 0;
  std::optional<TAcePostJournal> journal_;
  std::optional<size_t> recIdField_;
};
