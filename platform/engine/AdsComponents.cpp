#include "platform/engine/AdsComponents.h"

#include <algorithm>
#include <exception>

#include "common/SysUtils.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace {

// A list, not an owner: constant-initialised, so it outlives every connection (the program
// units free the connection module before the process ends, and the list gives its memory back
// with the last connection).
constinit std::vector<TAdsConnection*> connections;

std::vector<TAdsConnection*>& Connections() {
  return connections;
}

bool SameName(const std::string& a, const std::string& b) {
  return UpperCase(a) == UpperCase(b);
}

uint32_t CallingThread() {
  try {
    return Platform().System().CurrentThreadId();
  } catch (const std::logic_error&) {
    return 0;  // no system services yet
  }
}

}  // namespace

// ---- TAdsConnection ----

TAdsConnection::TAdsConnection(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), creatingThread_(CallingThread()) {
  Connections().push_back(this);
}

TAdsConnection::~TAdsConnection() {
  while (!dataSets_.empty()) dataSets_.back()->Release();
  handle_.reset();
  auto& all = Connections();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  if (all.empty()) std::vector<TAdsConnection*>().swap(all);  // nothing of it left at exit
}

void TAdsConnection::SetIsConnected(bool connected) {
  if (connected) {
    if (!handle_) handle_ = Platform().Engine().Connect(ConnectPath, AdsServerTypes);
    return;
  }
  std::exception_ptr failure;
  while (!dataSets_.empty()) {
    try {
      dataSets_.back()->Close();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  handle_.reset();
  if (failure) std::rethrow_exception(failure);
}

std::string TAdsConnection::ConnectionType() const {
  return handle_ ? handle_->ConnectionType() : std::string();
}

int64_t TAdsConnection::DDProperty(int) const {
  return 0;  // the stand-in engine has no data dictionary
}

void TAdsConnection::CloseCachedTables() {
  if (handle_) handle_->CloseCachedTables();
}

TAceConnection& TAdsConnection::Handle() const {
  if (!handle_)
    throw EADSDatabaseError("The connection " + Name() + " is not connected", AdsErrNotConnected);
  return *handle_;
}

TAdsConnection* TAdsConnection::FindByName(const std::string& databaseName) {
  auto dot = databaseName.find('.');
  std::string owner = dot == std::string::npos ? std::string() : databaseName.substr(0, dot);
  std::string name = dot == std::string::npos ? databaseName : databaseName.substr(dot + 1);
  for (TAdsConnection* connection : Connections()) {
    if (!SameName(connection->Name(), name)) continue;
    if (dot == std::string::npos ||
        (connection->Owner() && SameName(connection->Owner()->Name(), owner)))
      return connection;
  }
  return nullptr;
}

// ---- TAdsField ----

template <typename F>
decltype(auto) TAdsDataSet::Guard(F&& call) const {
  try {
    return call();
  } catch (EADSDatabaseError& e) {
    if (e.DataSetName.empty()) {
      e.DataSetName = Name();
      e.DataSetOwnerName = Owner() ? Owner()->Name() : std::string();
    }
    if (e.TableName.empty()) e.TableName = ErrorTableName();
    throw;
  }
}

const std::string& TAdsField::AsString() const {
  for (const auto& [index, value] : owner_->pending_)
    if (index == index_) return value;
  return owner_->Guard([&]() -> const std::string& { return owner_->Cursor().FieldText(index_); });
}

void TAdsField::SetAsString(const std::string& value) {
  if (!owner_->editing_) owner_->Fail("Dataset not in edit or insert mode", AdsErrDataSetState);
  auto& pending = owner_->pending_;
  auto it = std::find_if(pending.begin(), pending.end(),
                         [&](const auto& change) { return change.first >= index_; });
  if (it != pending.end() && it->first == index_)
    it->second = value;
  else
    pending.emplace(it, index_, value);
}

bool TAdsField::IsNull() const {
  for (const auto& change : owner_->pending_)
    if (change.first == index_) return false;
  return owner_->Guard([&] { return owner_->Cursor().FieldIsNull(index_); });
}

std::optional<size_t> TAdsField::Width() const {
  return owner_->Guard([&] { return owner_->Cursor().FieldWidth(index_); });
}

// ---- TAdsDataSet ----

TAdsDataSet::~TAdsDataSet() {
  Release();
}

void TAdsDataSet::Fail(const std::string& message, uint32_t code) const {
  throw EADSDatabaseError(message, code, 0, ErrorTableName(), {}, Name(),
                          Owner() ? Owner()->Name() : std::string());
}

TAdsConnection& TAdsDataSet::BoundConnection() const {
  TAdsConnection* connection = TAdsConnection::FindByName(DatabaseName);
  if (!connection) Fail("Connection not found: " + DatabaseName, AdsErrNotConnected);
  Guard([&] { connection->SetIsConnected(true); });
  return *connection;
}

void TAdsDataSet::Open() {
  if (Active()) return;
  TAdsConnection& connection = BoundConnection();
  cursor_ = Guard([&] { return OpenCursor(connection.Handle()); });
  connection_ = &connection;
  committedPosts_ = 0;
  connection.dataSets_.push_back(this);
  fields_.clear();
  const auto& names = cursor_->FieldNames();
  for (size_t i = 0; i < names.size(); ++i) fields_.emplace_back(new TAdsField(this, i, names[i]));
}

void TAdsDataSet::Close() {
  if (!cursor_) return Release();
  try {
    Guard([&] { cursor_->Close(); });
  } catch (...) {
    Release();
    throw;
  }
  Release();
}

void TAdsDataSet::Release() noexcept {
  pending_.clear();
  editing_ = false;
  fields_.clear();
  if (cursor_) committedPosts_ = cursor_->CommittedPosts();
  cursor_.reset();
  if (connection_) {
    auto& sets = connection_->dataSets_;
    sets.erase(std::remove(sets.begin(), sets.end(), this), sets.end());
    connection_ = nullptr;
  }
}

bool TAdsDataSet::Refresh() {
  Cancel();
  return Guard([&] { return Cursor().Refresh(); });
}

int64_t TAdsDataSet::CommittedPosts() const {
  return cursor_ ? cursor_->CommittedPosts() : committedPosts_;
}

TAceCursor& TAdsDataSet::Cursor() const {
  if (!cursor_) Fail("Cannot perform this operation on a closed dataset", AdsErrDataSetState);
  return *cursor_;
}

void TAdsDataSet::First() {
  if (editing_) Post();
  Guard([&] { Cursor().First(); });
}

void TAdsDataSet::Next() {
  if (editing_) Post();
  Guard([&] { Cursor().Next(); });
}

bool TAdsDataSet::Eof() const {
  return Cursor().Eof();
}

int64_t TAdsDataSet::RecordCount() {
  return Guard([&] { return Cursor().RecordCount(); });
}

TAdsField& TAdsDataSet::FieldByName(const std::string& name) {
  Cursor();
  for (auto& field : fields_)
    if (SameName(field->FieldName(), name)) return *field;
  Fail("Field '" + name + "' not found", AdsErrNoField);
}

void TAdsDataSet::Edit() {
  if (Cursor().Eof()) Fail("There is no current record to edit", AdsErrDataSetState);
  editing_ = true;
}

void TAdsDataSet::Post() {
  if (!editing_) Fail("Dataset not in edit or insert mode", AdsErrDataSetState);
  Guard([&] { Cursor().Post(pending_); });
  pending_.clear();
  editing_ = false;
}

void TAdsDataSet::Cancel() {
  pending_.clear();
  editing_ = false;
}

// ---- TAdsTable ----

std::unique_ptr<TAceCursor> TAdsTable::OpenCursor(TAceConnection& connection) {
  TAceTableOptions options;
  options.Exclusive = Exclusive;
  options.ReadOnly = ReadOnly;
  options.RightsChecking = RightsChecking;
  options.IndexName = IndexName;
  return connection.OpenTable(TableName, options);
}

bool TAdsTable::Seek(const std::string& key) {
  if (Editing()) Post();
  return Guard([&] { return Cursor().Seek(key); });
}

void TAdsTable::JournalPosts(const TAcePostJournal& journal) {
  Guard([&] { Cursor().JournalPosts(journal); });
}

TAceRevisit TAdsTable::NextRefused() {
  Cancel();
  return Guard([&] { return Cursor().NextRefused(); });
}

// ---- TAdsQuery ----

void TAdsQuery::SetParam(const std::string& name, const std::string& value) {
  for (auto& param : params_) {
    if (SameName(param.first, name)) {
      param.second = value;
      return;
    }
  }
  params_.emplace_back(name, value);
}

std::unique_ptr<TAceCursor> TAdsQuery::OpenCursor(TAceConnection& connection) {
  return connection.OpenQuery(SQL, params_);
}

int64_t TAdsQuery::ExecSQL() {
  TAdsConnection& connection = BoundConnection();
  return Guard([&] { return connection.Handle().ExecSQL(SQL, params_); });
}
