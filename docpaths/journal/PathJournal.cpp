#include "docpaths/journal/PathJournal.h"

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>
#include <utility>

#include "common/DateUtils.h"
#include "db/CrmSchemaPostgres.h"
#include "db/DatGenDBConnectionDM.h"
#include "host/Clock.h"
#include "platform/engine/AdsComponents.h"

namespace {

std::unique_ptr<TAdsQuery> Query(const std::string& sql, const TAceParams& params = {}) {
  auto query = std::make_unique<TAdsQuery>(nullptr, "");
  query->DatabaseName = MainConnectionName;
  query->SQL = sql;
  for (const auto& [name, value] : params) query->SetParam(name, value);
  return query;
}

void Exec(const std::string& sql, const TAceParams& params = {}) {
  Query(sql, params)->ExecSQL();
}

// The journal's own tables, each with the statements that create it. On the remote server the
// runs go through the CRM schema's translation, which gives them the identity column the remote
// engine walks a table by. The journal rows are only ever read by queries, and a replace writes
// one per record, so they go without it: an identity and its index would cost every row.
struct TJournalTable {
  const char* Name;
  bool RowKey;  // created with the remote server's row key
  std::vector<const char*> Statements;
};
const TJournalTable kJournalTables[] = {
    {"VrlPathRuns",
     true,
     {"CREATE TABLE VrlPathRuns (RunId TEXT NOT NULL, Kind TEXT, Started TEXT, OldFolder TEXT, "
      "NewFolder TEXT, Target TEXT, State TEXT, UndoneBy TEXT, Counts TEXT, Mappings TEXT)",
      "CREATE UNIQUE INDEX VrlPathRuns_PRIMARY ON VrlPathRuns (RunId)"}},
    {"VrlPathJournal",
     false,
     {"CREATE TABLE VrlPathJournal (RunId TEXT NOT NULL, TableName TEXT NOT NULL, RecId TEXT NOT "
      "NULL, FieldName TEXT NOT NULL, OldValue TEXT, NewValue TEXT)"}},
};

bool RemoteServer() {
  const TAdsConnection* connection = TAdsConnection::FindByName(MainConnectionName);
  return connection && connection->AdsServerTypes == TAdsServerType::stADS_REMOTE;
}

// Whether the database holds the table; engine failures other than a missing table propagate.
// Asked by a query, which needs no row key of the table.
bool TableExists(const std::string& name) {
  auto query = Query("SELECT * FROM " + name + " WHERE 1 = 0");
  try {
    query->Open();
  } catch (const EADSDatabaseError& e) {
    if (e.ACEErrorCode == AdsErrNoTable) return false;
    throw;
  }
  query->Close();
  return true;
}

const char* const kRunColumns =
    "RunId, Kind, Started, OldFolder, NewFolder, Target, State, UndoneBy";
// The columns later versions added to the runs table, in the order they came.
const char* const kCounts = "Counts";
const char* const kMappings = "Mappings";
const char* const kAddedRunColumns[] = {kCounts, kMappings};

TPathRun ReadRun(TAdsQuery& query, bool withCounts, bool withMappings) {
  TPathRun run;
  std::string* fields[] = {&run.RunId,     &run.Kind,   &run.Started, &run.OldFolder,
                           &run.NewFolder, &run.Target, &run.State,   &run.UndoneBy};
  const char* names[] = {"RunId",     "Kind",   "Started", "OldFolder",
                         "NewFolder", "Target", "State",   "UndoneBy"};
  for (size_t i = 0; i < std::size(fields); ++i)
    *fields[i] = query.FieldByName(names[i]).AsString();
  if (withCounts) run.Written = ParseRunCounts(query.FieldByName(kCounts).AsString());
  if (withMappings) run.Mappings = ParseMappingRows(query.FieldByName(kMappings).AsString());
  return run;
}

}  // namespace

TJournalTransaction::TJournalTransaction() {
  TAdsConnection* connection = TAdsConnection::FindByName(MainConnectionName);
  if (!connection) return;  // the journal's statements fail on their own
  connection_ = &connection->Handle();
  connection_->BeginTransaction();
}

TJournalTransaction::~TJournalTransaction() {
  if (!connection_) return;
  try {
    connection_->Rollback();
  } catch (...) {
    // The engine takes back what was not committed when the connection ends.
  }
}

void TJournalTransaction::Commit() {
  if (!connection_) return;
  TAceConnection* connection = std::exchange(connection_, nullptr);
  connection->Commit();
}

int64_t RunNumber(const std::string& runId) {
  if (runId.size() < 2 || runId.size() > 12 || (runId[0] != 'R' && runId[0] != 'r')) return 0;
  int64_t number = 0;
  for (size_t i = 1; i < runId.size(); ++i) {
    if (runId[i] < '0' || runId[i] > '9') return 0;
    number = number * 10 + (runId[i] - '0');
  }
  return number;
}

std::string FormatRunCounts(const std::map<std::string, int64_t>& counts) {
  std::string text;
  for (const auto& [table, count] : counts)
    text += (text.empty() ? "" : ";") + table + "=" + std::to_string(count);
  return text;
}

std::map<std::string, int64_t> ParseRunCounts(const std::string& text) {
  std::map<std::string, int64_t> counts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string part = text.substr(start, end - start);
    const size_t equals = part.find('=');
    if (equals != std::string::npos && equals > 0 && equals + 1 < part.size() &&
        part.size() - equals - 1 <= 18 &&
        part.find_first_not_of("0123456789", equals + 1) == std::string::npos)
      counts[part.substr(0, equals)] = std::stoll(part.substr(equals + 1));
    start = end + 1;
  }
  return counts;
}

bool TPathJournal::Exists() {
  return TableExists(kRunsTable);
}

bool TPathJournal::HasColumn(const std::string& column) {
  auto known = hasColumn_.find(column);
  if (known != hasColumn_.end()) return known->second;
  bool has = true;
  auto query = Query("SELECT " + column + " FROM VrlPathRuns WHERE 1 = 0");
  try {
    query->Open();
    query->Close();
  } catch (const EADSDatabaseError&) {
    has = false;  // a journal of an older version: the runs table has no such column yet
  }
  return hasColumn_[column] = has;
}

void TPathJournal::Create() {
  const bool remote = RemoteServer();
  // What is missing is asked first: a query that fails ends a transaction on the remote server.
  std::vector<const TJournalTable*> missing;
  for (const TJournalTable& table : kJournalTables)
    if (!TableExists(table.Name)) missing.push_back(&table);
  hasColumn_.clear();
  // A runs table created now has the columns; one of an older version may lack some.
  const bool runsMissing = !missing.empty() && missing.front() == &kJournalTables[0];
  std::vector<const char*> added;
  if (!runsMissing)
    for (const char* column : kAddedRunColumns)
      if (!HasColumn(column)) added.push_back(column);
  if (missing.empty() && added.empty()) return;
  TJournalTransaction creating;
  for (const TJournalTable* table : missing)
    for (const char* statement : table->Statements)
      Exec(remote && table->RowKey ? TranslateSchemaToPostgres(std::string(statement) + ";")
                                   : statement);
  for (const char* column : added)
    Exec(std::string("ALTER TABLE VrlPathRuns ADD COLUMN ") + column + " TEXT");
  creating.Commit();
  for (const char* column : kAddedRunColumns) hasColumn_[column] = true;
}

std::string TPathJournal::BeginRun(const std::string& kind, const std::string& oldFolder,
                                   const std::string& newFolder, const std::string& target,
                                   const TFolderMappingRows& mappings) {
  int64_t last = 0;
  auto ids = Query("SELECT RunId FROM VrlPathRuns");
  ids->Open();
  for (; !ids->Eof(); ids->Next())
    last = std::max(last, RunNumber(ids->FieldByName("RunId").AsString()));
  ids->Close();
  const std::string runId = "R" + std::to_string(last + 1);
  // A run of several folders goes in with its rows in one statement: a resume needs them.
  const bool several = !mappings.empty();
  TAceParams params = {{"RunId", runId},
                       {"Kind", kind},
                       {"Started", FormatDateTime("yyyy-mm-dd hh:nn:ss", Now())},
                       {"OldFolder", oldFolder},
                       {"NewFolder", newFolder},
                       {"Target", target}};
  if (several) params.push_back({"Mappings", FormatMappingRows(mappings)});
  Exec(std::string("INSERT INTO VrlPathRuns (RunId, Kind, Started, OldFolder, NewFolder, Target, "
                   "State, UndoneBy") +
           (several ? ", Mappings" : "") +
           ") VALUES (:RunId, :Kind, :Started, :OldFolder, :NewFolder, :Target, 'running', ''" +
           (several ? ", :Mappings" : "") + ")",
       params);
  return runId;
}

void TPathJournal::SetState(const std::string& runId, const std::string& state) {
  Exec("UPDATE VrlPathRuns SET State = :State WHERE RunId = :RunId",
       {{"State", state}, {"RunId", runId}});
}

void TPathJournal::EndRun(const std::string& runId, const std::string& state,
                          const std::map<std::string, int64_t>& written) {
  if (!HasColumn(kCounts)) return SetState(runId, state);
  Exec("UPDATE VrlPathRuns SET State = :State, Counts = :Counts WHERE RunId = :RunId",
       {{"State", state}, {"Counts", FormatRunCounts(written)}, {"RunId", runId}});
}

void TPathJournal::SetUndoneBy(const std::string& runId, const std::string& undoneBy) {
  Exec("UPDATE VrlPathRuns SET UndoneBy = :UndoneBy WHERE RunId = :RunId",
       {{"UndoneBy", undoneBy}, {"RunId", runId}});
}

std::vector<TPathRun> TPathJournal::Runs(bool withRows) {
  std::map<std::string, std::map<std::string, int64_t>> counts;  // run -> table -> rows
  if (withRows) {
    auto grouped = Query(
        "SELECT RunId, TableName, COUNT(*) AS N FROM VrlPathJournal GROUP BY RunId, TableName");
    grouped->Open();
    for (; !grouped->Eof(); grouped->Next()) {
      counts[grouped->FieldByName("RunId").AsString()]
            [grouped->FieldByName("TableName").AsString()] +=
          std::stoll(grouped->FieldByName("N").AsString());
    }
    grouped->Close();
  }
  std::vector<TPathRun> runs;
  const bool withCounts = HasColumn(kCounts);
  const bool withMappings = HasColumn(kMappings);
  auto query = Query(std::string("SELECT ") + kRunColumns + (withCounts ? ", Counts" : "") +
                     (withMappings ? ", Mappings" : "") + " FROM VrlPathRuns");
  query->Open();
  for (; !query->Eof(); query->Next()) {
    TPathRun run = ReadRun(*query, withCounts, withMappings);
    if (auto it = counts.find(run.RunId); it != counts.end()) {
      run.Docs = it->second[kDocsPass.Name];
      run.Cards = it->second[kCardsPass.Name];
      run.Prefs = it->second[kPrefPass.Name];
    }
    runs.push_back(std::move(run));
  }
  query->Close();
  std::stable_sort(runs.begin(), runs.end(), [](const TPathRun& a, const TPathRun& b) {
    return RunNumber(a.RunId) < RunNumber(b.RunId);
  });
  return runs;
}

std::optional<TPathRun> TPathJournal::FindRun(const std::string& runId) {
  const int64_t number = RunNumber(runId);
  if (number == 0) return std::nullopt;
  for (TPathRun& run : Runs(false))
    if (RunNumber(run.RunId) == number) return std::move(run);
  return std::nullopt;
}

std::map<std::string, int64_t> TPathJournal::RowCounts(const std::string& runId) {
  std::map<std::string, int64_t> counts;
  auto query = Query(
      "SELECT TableName, COUNT(*) AS N FROM VrlPathJournal WHERE RunId = :RunId GROUP BY "
      "TableName",
      {{"RunId", runId}});
  query->Open();
  for (; !query->Eof(); query->Next())
    counts[query->FieldByName("TableName").AsString()] =
        std::stoll(query->FieldByName("N").AsString());
  query->Close();
  return counts;
}

TAcePostJournal TPathJournal::PostJournal(const std::string& runId, const TPathPass& pass) {
  // The engines write the rows in the column order of the journal table's statement above.
  return {runId,
          pass.Name,
          {"VrlPathJournal", "RunId, TableName, RecId, FieldName, OldValue, NewValue"}};
}

TJournalTableRows TPathJournal::Rows(const std::string& runId, const TPathPass& pass) {
  TJournalTableRows rows;
  auto query = Query(
      "SELECT RecId, OldValue, NewValue FROM VrlPathJournal WHERE RunId = :RunId AND "
      "TableName = :TableName AND FieldName = :FieldName",
      {{"RunId", runId}, {"TableName", pass.Name}, {"FieldName", pass.Field}});
  query->Open();
  TAdsField& recId = query->FieldByName("RecId");
  TAdsField& oldValue = query->FieldByName("OldValue");
  TAdsField& newValue = query->FieldByName("NewValue");
  for (; !query->Eof(); query->Next()) {
    rows.Rows[recId.AsString()] = TJournalValue{oldValue.AsString(), newValue.AsString()};
    ++rows.Read;
  }
  query->Close();
  return rows;
}

void TPathJournal::OldValues(const std::string& runId, const TPathPass& pass,
                             const std::function<void(const std::string&)>& each) {
  auto query = Query(
      "SELECT OldValue FROM VrlPathJournal WHERE RunId = :RunId AND TableName = :TableName AND "
      "FieldName = :FieldName",
      {{"RunId", runId}, {"TableName", pass.Name}, {"FieldName", pass.Field}});
  query->Open();
  for (TAdsField& oldValue = query->FieldByName("OldValue"); !query->Eof(); query->Next())
    each(oldValue.AsString());
  query->Close();
}
