#include "platform/engine/postgres/PgTableCursor.h"

#include <algorithm>
#include <iostream>

#include "common/SysUtils.h"
#include "platform/engine/common/EngineText.h"

TPgTableCursor::TPgTableCursor(TPgConnection& connection, const std::string& tableName,
                               const TAceTableOptions& options)
    : connection_(connection), readOnly_(options.ReadOnly) {
  table_ = connection_.ResolveTable(tableName);
  quoted_ = QuoteIdent(table_.Stored);
  for (const TPgColumn& column : table_.Columns) fields_.push_back(column.Shown);
  if (!options.IndexName.empty()) {
    for (const std::string& column : connection_.IndexColumns(table_.Stored, options.IndexName))
      for (size_t f = 0; f < fields_.size(); ++f)
        if (table_.Columns[f].Stored == column) keyFields_.push_back(f);
  }
  LayOutKeys();
  connection_.Register(this);
  try {
    First();
  } catch (...) {
    connection_.Unregister(this);
    throw;
  }
}

TPgTableCursor::~TPgTableCursor() {
  // A group still on its way is waited for; it is its own transaction and counts as it ends.
  try {
    Collect();
  } catch (const EADSDatabaseError& e) {
    std::clog << "Database engine: " << e.Message() << std::endl;
  }
  // Closed without Close: the posts never sent are dropped, never passed off as written.
  if (!queue_.empty())
    std::clog << "Database engine: table " << table_.Stored << " closed without committing; "
              << queue_.size() << " posted records were rolled back" << std::endl;
  connection_.Unregister(this);
}

void TPgTableCursor::Raise(const EADSDatabaseError& error) const {
  connection_.Raise(error);
}

std::string TPgTableCursor::FetchSql(TFetch kind) const {
  std::string columns = PgRowKey;
  for (size_t f : slots_) columns += ", " + QuoteIdent(table_.Columns[f].Stored);
  std::string key, params;
  int n = 0;
  for (size_t f : keyFields_) {
    key += QuoteIdent(table_.Columns[f].Stored) + ", ";
    params += "$" + std::to_string(++n) + ", ";
  }
  const std::string order = key + PgRowKey;
  key += PgRowKey;
  params += "$" + std::to_string(++n);
  std::string where;
  if (kind == fAfter) where = " WHERE (" + key + ") > (" + params + ")";
  if (kind == fFrom) where = " WHERE (" + key + ") >= (" + params + ")";
  if (kind == fSeek)
    where = " WHERE " + QuoteIdent(table_.Columns[keyFields_.at(0)].Stored) + " >= $1";
  if (kind == fOne)
    return "SELECT " + columns + " FROM " + quoted_ + " WHERE " + PgRowKey + " = $1";
  return "SELECT " + columns + " FROM " + quoted_ + where + " ORDER BY " + order + " LIMIT " +
         std::to_string(kBatchRows);
}

void TPgTableCursor::Fetch(TFetch kind, const std::string* key, int64_t rowid) const {
  // What this cursor posted is sent first, so every read sees it. Reading ahead, the next
  // batch in row-key order holds none of the records posted, so their posts are sent after the
  // read, and the server writes them while this program walks the batch just read.
  auto self = const_cast<TPgTableCursor*>(this);
  const bool ahead = kind == fAfter && ReadsAhead();
  const size_t width = slots_.size();
  std::vector<const char*> values;
  std::string rowText;
  if (kind == fAfter || kind == fFrom) {
    const size_t row = kind == fAfter ? count_ - 1 : pos_;
    for (size_t f : keyFields_) {
      const TCell& cell = cells_[row * width + slotOf_[f]];
      values.push_back(cell.null ? nullptr : cell.text.c_str());
    }
    rowid = rowids_[row];
  }
  if (kind == fSeek) values.push_back(key->c_str());
  if (kind == fAfter || kind == fFrom || kind == fOne) {
    rowText = std::to_string(rowid);
    values.push_back(rowText.c_str());
  }
  const std::string what = "The table " + table_.Stored + " cannot be read";
  TPgResult result;
  try {
    if (ahead) {
      // The server reads while the posts' statement is built, and writes them while the rows
      // read are taken in.
      connection_.Main().Send(FetchSql(kind), values, what, table_.Stored, nullptr);
      const std::optional<TGroupStatement> group = self->QueuedGroup();
      result = connection_.Main().Collect(what, table_.Stored);
      self->Launch(group);
    } else {
      self->SendPosts();
      result = connection_.ExecPrepared(FetchSql(kind), values, what, table_.Stored);
    }
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  const size_t n = PQntuples(result.get());
  if (kind == fOne && n == 0) return;
  const size_t first = kind == fOne ? pos_ : 0;
  if (kind != fOne) {
    rowids_.resize(n);
    cells_.resize(n * width);
  }
  PGresult* rows = result.get();
  for (size_t r = 0; r < n; ++r) {
    const int row = static_cast<int>(r);
    rowids_[first + r] = std::stoll(PQgetvalue(rows, row, 0));
    TCell* cells = cells_.data() + (first + r) * width;
    for (size_t s = 0; s < width; ++s) {
      const int column = static_cast<int>(s) + 1;
      cells[s].null = PQgetisnull(rows, row, column);
      cells[s].text.assign(PQgetvalue(rows, row, column), PQgetlength(rows, row, column));
    }
  }
  if (kind == fOne) return;
  count_ = n;
  pos_ = 0;
  more_ = n == static_cast<size_t>(kBatchRows);
}

void TPgTableCursor::First() {
  Fetch(fFirst);
}

void TPgTableCursor::Next() {
  if (Eof()) return;
  if (++pos_ == count_ && more_) {
    Fetch(fAfter);
    return;
  }
  SendIfDue();
}

std::optional<size_t> TPgTableCursor::FieldWidth(size_t field) const {
  CheckField(field);
  return table_.Columns[field].Width;
}

void TPgTableCursor::Post(const std::vector<std::pair<size_t, std::string>>& changes) {
  if (readOnly_)
    Raise(EADSDatabaseError("The table " + table_.Stored + " is open read-only", AdsErrReadOnly, 0,
                            table_.Stored));
  if (Eof())
    Raise(EADSDatabaseError("There is no current record in table " + table_.Stored,
                            AdsErrDataSetState, 0, table_.Stored));
  if (changes.empty()) return;
  for (const auto& change : changes) CheckField(change.first);
  const int64_t rowid = rowids_[pos_];
  // A record posts once per group: a second post of it waits for the first to be written.
  if (queuedRows_.count(rowid) || (!inFlight_.empty() && rowid <= inFlightLast_)) {
    try {
      SendPosts();
    } catch (const EADSDatabaseError& e) {
      Raise(e);
    }
  }
  TQueuedPost post{rowid, changes, {}, {}};
  const size_t width = slots_.size();
  for (const auto& [field, value] : changes) {
    const int slot = slotOf_[field];
    post.compared.push_back(slot >= 0);
    post.read.push_back(slot >= 0 ? cells_[pos_ * width + slot] : TCell{});
    if (slot >= 0) cells_[pos_ * width + slot] = TCell{value, false};
  }
  if (queue_.empty()) queueStarted_ = std::chrono::steady_clock::now();
  queue_.push_back(std::move(post));
  queuedRows_.insert(rowid);
  SendIfDue();
}

bool TPgTableCursor::ReadsAhead() const {
  return keyFields_.empty() && !connection_.InTransaction();
}

void TPgTableCursor::SendIfDue() {
  if (queue_.empty()) return;
  // Reading ahead, a batch's posts go when the next batch has been read (Fetch); a batch holds
  // no more records than a group, so only the time can make them due before.
  const size_t full = ReadsAhead() ? 2 * kPostsPerGroup : kPostsPerGroup;
  if (queue_.size() < full && std::chrono::steady_clock::now() - queueStarted_ < kGroupInterval)
    return;
  try {
    if (ReadsAhead())
      Launch(QueuedGroup());
    else
      SendPosts();
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

int64_t TPgTableCursor::DropPosts() noexcept {
  const int64_t dropped = static_cast<int64_t>(queue_.size());
  queue_.clear();
  queuedRows_.clear();
  return dropped;
}

std::optional<TPgTableCursor::TGroupStatement> TPgTableCursor::QueuedGroup() const {
  std::vector<const TQueuedPost*> group;
  for (const TQueuedPost& post : queue_) {
    if (!group.empty() && !SameShape(*group.front(), post)) return std::nullopt;
    group.push_back(&post);
  }
  if (group.empty()) return std::nullopt;
  return GroupStatement(group);
}

void TPgTableCursor::Launch(const std::optional<TGroupStatement>& group) {
  if (queue_.empty()) return;
  if (!group) {
    SendPosts();  // posts of different fields: one statement each, sent in turn
    return;
  }
  // The session's previous group is answered first: when it was this cursor's and failed, these
  // posts went with it. Posts that could not be sent are dropped, not sent again through
  // another session.
  TPgSession& session = connection_.PostSession();
  session.Settle();
  try {
    session.Send(group->Sql, group->Values(), WriteFailure(), table_.Stored, this);
  } catch (const EADSDatabaseError& e) {
    const int64_t dropped = DropPosts();
    if (dropped) throw Appended(e, RolledBackText(dropped));
    throw;
  }
  TInFlight sent{&session, {}};
  sent.rows.reserve(queue_.size());
  for (const TQueuedPost& post : queue_) sent.rows.push_back(post.rowid);
  inFlightLast_ = std::max(inFlightLast_, *std::max_element(sent.rows.begin(), sent.rows.end()));
  inFlight_.push_back(std::move(sent));
  queue_.clear();
  queuedRows_.clear();
}

void TPgTableCursor::Collect(TPgSession* only) {
  // Every group asked for is answered, even after one failed, so none is left uncounted.
  std::optional<EADSDatabaseError> failure;
  for (size_t i = 0; i < inFlight_.size();) {
    if (only && inFlight_[i].session != only) {
      ++i;
      continue;
    }
    TInFlight sent = std::move(inFlight_[i]);
    inFlight_.erase(inFlight_.begin() + static_cast<std::ptrdiff_t>(i));
    TPgResult result;
    try {
      result = sent.session->Collect(WriteFailure(), table_.Stored);
    } catch (const EADSDatabaseError& e) {
      // The group is gone, and the posts queued behind it go with it, as in SendPosts.
      const auto unanswered = static_cast<int64_t>(sent.rows.size());
      const EADSDatabaseError lost =
          Appended(e, NotWrittenText(e, unanswered + DropPosts(), unanswered));
      failure = failure ? Appended(*failure, "; " + lost.Message()) : lost;
      continue;
    }
    TakeResult(result.get(), sent.rows);
  }
  if (failure) throw *failure;
}

void TPgTableCursor::SendPosts() {
  Collect();
  if (queue_.empty()) return;
  std::vector<TQueuedPost> queue;
  queue.swap(queue_);
  queuedRows_.clear();
  // One statement per set of changed (and compared) fields; a walk has one set.
  std::map<std::vector<std::pair<size_t, bool>>, std::vector<const TQueuedPost*>> groups;
  for (const TQueuedPost& post : queue) groups[Shape(post)].push_back(&post);
  int64_t sent = 0;
  for (const auto& [shape, group] : groups) {
    try {
      SendGroup(group);
    } catch (const EADSDatabaseError& e) {
      if (connection_.InTransaction()) throw Appended(e, RolledBackText(queue.size()));
      const int64_t lost = static_cast<int64_t>(queue.size()) - sent;
      throw Appended(e, NotWrittenText(e, lost, static_cast<int64_t>(group.size())));
    }
    sent += static_cast<int64_t>(group.size());
  }
}

TPgTableCursor::TGroupStatement TPgTableCursor::GroupStatement(
    const std::vector<const TQueuedPost*>& group) const {
  const TQueuedPost& model = *group.front();
  const size_t n = model.changes.size();
  // $1 the row keys, then per field the new values and, when compared, the values read.
  std::vector<TPgArrayParam> arrays(1, TPgArrayParam(TPgArrayParam::kBigint));
  std::string columns = "rid", types = "$1::bigint[]", set, compare, journal, returned;
  // The journal needs each record's old values. A compared field's old value is the value read
  // (the update wrote only where the stored value still matched it), and an unchanged RECID is
  // returned by the update itself; only otherwise is the record's old version joined in.
  const bool joinOld = journal_ && !JournalFromUpdate(model);
  int param = 1;
  std::vector<int> newParam(n), readParam(n, 0);
  for (size_t i = 0; i < n; ++i) {
    const TPgColumn& column = table_.Columns[model.changes[i].first];
    const std::string name = QuoteIdent(column.Stored);
    const std::string in = "n" + std::to_string(i);
    newParam[i] = ++param;
    arrays.emplace_back(TPgArrayParam::kText);
    columns += ", " + in;
    types += ", $" + std::to_string(param) + "::text[]";
    set += std::string(i ? ", " : "") + name + " = v." + in +
           (column.IsText ? "" : "::" + column.Type);
    if (model.compared[i]) {
      const std::string read = "o" + std::to_string(i);
      readParam[i] = ++param;
      arrays.emplace_back(TPgArrayParam::kText);
      columns += ", " + read;
      types += ", $" + std::to_string(param) + "::text[]";
      compare += " AND t." + name + "::text IS NOT DISTINCT FROM v." + read;
    }
    // The update returns what the journal rows need of each record.
    returned += ", v." + in + (model.compared[i] && !joinOld ? ", v.o" + std::to_string(i) : "");
    journal += std::string(i ? ", " : "") + "(" + QuoteLiteral(column.Shown) + ", " +
               (joinOld ? "o." + name + "::text" : "u.o" + std::to_string(i)) + ", u." + in + ")";
  }
  for (const TQueuedPost* post : group) {
    arrays[0].AddBigint(post->rowid);
    for (size_t i = 0; i < n; ++i) {
      arrays[newParam[i] - 1].AddText(&post->changes[i].second);
      if (readParam[i])
        arrays[readParam[i] - 1].AddText(post->read[i].null ? nullptr : &post->read[i].text);
    }
  }
  TGroupStatement statement;
  for (TPgArrayParam& array : arrays) statement.Params.push_back(array.Bytes());
  statement.Binary = statement.Params.size();

  // The update returns the row keys it wrote: the others were refused.
  std::string update = "UPDATE " + quoted_ + " AS t SET " + set + " FROM unnest(" + types +
                       ") AS v(" + columns + ") WHERE t." + PgRowKey + " = v.rid" + compare +
                       " RETURNING t." + PgRowKey;
  if (!journal_) {
    statement.Sql = std::move(update);
    return statement;
  }
  const std::string recId = QuoteIdent(table_.Columns[*recIdField_].Stored) + "::text";
  statement.Params.push_back(journal_->RunId);
  statement.Params.push_back(journal_->TableName);
  std::string sql =
      "WITH u AS (" + update + (joinOld ? "" : ", t." + recId + " AS vrl_recid") + returned +
      "), j AS (INSERT INTO " + journal_->Into.Name + " (" + journal_->Into.Columns + ") SELECT $" +
      std::to_string(param + 1) + ", $" + std::to_string(param + 2) + ", " +
      (joinOld ? "o." + recId : std::string("u.vrl_recid")) + ", f.name, f.old, f.new FROM u" +
      (joinOld ? " JOIN " + quoted_ + " AS o ON o." + PgRowKey + " = u." + PgRowKey : "") +
      " CROSS JOIN LATERAL (VALUES " + journal + ") AS f(name, old, new)) SELECT " + PgRowKey +
      " FROM u";
  statement.Sql = std::move(sql);
  return statement;
}

TPgParams TPgTableCursor::TGroupStatement::Values() const {
  TPgParams values;
  for (size_t i = 0; i < Params.size(); ++i) {
    if (i < Binary)
      values.AddBinary(Params[i]);
    else
      values.AddText(Params[i].c_str());
  }
  return values;
}

std::string TPgTableCursor::WriteFailure() const {
  return "The posted records could not be written to table " + table_.Stored;
}

void TPgTableCursor::SendGroup(const std::vector<const TQueuedPost*>& group) {
  const TGroupStatement statement = GroupStatement(group);
  TPgResult result =
      connection_.ExecPrepared(statement.Sql, statement.Values(), WriteFailure(), table_.Stored);
  std::vector<int64_t> sent;
  for (const TQueuedPost* post : group) sent.push_back(post->rowid);
  TakeResult(result.get(), sent);
}

void TPgTableCursor::TakeResult(PGresult* result, const std::vector<int64_t>& sent) {
  std::unordered_set<int64_t> written;
  for (int r = 0; r < PQntuples(result); ++r) written.insert(std::stoll(PQgetvalue(result, r, 0)));
  for (int64_t rowid : sent) {
    if (written.count(rowid)) continue;
    refused_.push_back(rowid);
    ++refusals_[rowid];
  }
  committed_ += static_cast<int64_t>(written.size());
}

std::vector<std::pair<size_t, bool>> TPgTableCursor::Shape(const TQueuedPost& post) {
  std::vector<std::pair<size_t, bool>> shape;
  for (size_t i = 0; i < post.changes.size(); ++i)
    shape.emplace_back(post.changes[i].first, post.compared[i]);
  return shape;
}

bool TPgTableCursor::SameShape(const TQueuedPost& a, const TQueuedPost& b) {
  return a.changes.size() == b.changes.size() && Shape(a) == Shape(b);
}

bool TPgTableCursor::JournalFromUpdate(const TQueuedPost& model) const {
  for (size_t i = 0; i < model.changes.size(); ++i)
    if (!model.compared[i] || model.changes[i].first == *recIdField_) return false;
  return true;
}

TAceRevisit TPgTableCursor::NextRefused() {
  if (refused_.empty()) {
    try {
      SendPosts();
    } catch (const EADSDatabaseError& e) {
      Raise(e);
    }
  }
  if (refused_.empty()) return TAceRevisit::Done;
  const int64_t rowid = refused_.back();
  refused_.pop_back();
  if (refusals_[rowid] >= kRefusalsPerRecord)
    Raise(EADSDatabaseError(
        "The record was changed by another user again and again (table " + table_.Stored + ")",
        AdsErrRecordChanged, 0, table_.Stored));
  rowids_.assign(1, rowid);
  cells_.assign(slots_.size(), TCell{});
  pos_ = 0;
  count_ = 1;
  more_ = false;
  if (!Refresh()) {
    count_ = 0;
    return TAceRevisit::Deleted;
  }
  return TAceRevisit::Changed;
}

bool TPgTableCursor::Refresh() {
  if (Eof()) return false;
  const int64_t rowid = rowids_[pos_];
  rowids_[pos_] = -1;
  Fetch(fOne, nullptr, rowid);
  const bool found = rowids_[pos_] == rowid;
  rowids_[pos_] = rowid;
  return found;
}

void TPgTableCursor::Close() {
  try {
    SendPosts();
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  if (refused_.empty()) return;
  const size_t refused = refused_.size();
  refused_.clear();
  Raise(EADSDatabaseError(std::to_string(refused) +
                              " posted records were not written: another user changed or "
                              "deleted them (table " +
                              table_.Stored + ")",
                          AdsErrRecordChanged, 0, table_.Stored));
}

int64_t TPgTableCursor::RecordCount() {
  TPgResult count = connection_.Exec("SELECT count(*) FROM " + quoted_, {},
                                     "The records cannot be counted", table_.Stored);
  return std::stoll(PQgetvalue(count.get(), 0, 0));
}

bool TPgTableCursor::Seek(const std::string& key) {
  if (keyFields_.empty())
    Raise(EADSDatabaseError("No index is active on table " + table_.Stored, AdsErrNoIndex, 0,
                            table_.Stored));
  Fetch(fSeek, &key);
  if (Eof()) return false;
  const TCell& cell = cells_[pos_ * slots_.size() + slotOf_[keyFields_[0]]];
  return !cell.null && cell.text == key;
}

void TPgTableCursor::JournalPosts(const TAcePostJournal& journal) {
  for (size_t f = 0; f < fields_.size(); ++f)
    if (SameText(fields_[f], "RECID")) recIdField_ = f;
  if (!recIdField_)
    Raise(EADSDatabaseError("Posts to " + table_.Stored + " cannot be journalled: it has no RECID",
                            AdsErrNoJournal, 0, table_.Stored));
  try {
    SendPosts();  // only later posts are journalled
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  journal_ = journal;
}
