// The engine's components as the program uses them: a connection, tables and queries bound to
// it by name, fields read and written as text.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Classes.h"
#include "platform/AceDriver.h"
#include "platform/EADSDatabaseError.h"

class TAdsConnection : public TComponent {
 public:
  TAdsConnection(TComponent* owner, std::string name);
  ~TAdsConnection() override;
  std::string ClassName() const override { return "TAdsConnection"; }
  std::string UnitName() const override { return "adscnnct"; }

  std::string ConnectPath;
  TAdsServerType AdsServerTypes = TAdsServerType::stADS_LOCAL;
  bool LoginPrompt = false;

  bool IsConnected() const { return handle_ != nullptr; }
  // True opens the connection (EADSDatabaseError on failure); false closes its data sets, each
  // committing its posts, then the connection; a failed commit is raised after all are closed.
  void SetIsConnected(bool connected);
  // "Local", "Remote" or "Internet"; empty when not connected.
  std::string ConnectionType() const;
  // Data-dictionary properties (111, 112); 0 without a data dictionary connection.
  int64_t DDProperty(int number) const;
  uint32_t CreatingThreadId() const { return creatingThread_; }
  void CloseCachedTables();

  // The open engine connection; EADSDatabaseError when not connected.
  TAceConnection& Handle() const;

  // The connection a data set names: "Owner.Name" (qualified) or the component name alone.
  static TAdsConnection* FindByName(const std::string& databaseName);

 private:
  friend class TAdsDataSet;
  std::unique_ptr<TAceConnection> handle_;
  uint32_t creatingThread_;
  std::vector<class TAdsDataSet*> dataSets_;  // open data sets, closed before disconnecting
};

// One field of the current record, read and written as text.
class TAdsField {
 public:
  const std::string& AsString() const;
  void SetAsString(const std::string& value);
  bool IsNull() const;
  const std::string& FieldName() const { return name_; }
  // How many characters the field can hold when the engine enforces a width (the remote
  // server); none on the local server, which keeps text of any length.
  std::optional<size_t> Width() const;

 private:
  friend class TAdsDataSet;
  TAdsField(class TAdsDataSet* owner, size_t index, std::string name)
      : owner_(owner), index_(index), name_(std::move(name)) {}
  class TAdsDataSet* owner_;
  size_t index_;
  std::string name_;
};

// What tables and queries share: open state, walking, fields, edit and post.
class TAdsDataSet : public TComponent {
 public:
  using TComponent::TComponent;
  ~TAdsDataSet() override;

  // "DBConnectionDM.DBConnection" for laid-out data sets, "DBConnection" for run-time ones.
  std::string DatabaseName;

  void Open();
  // Commits what the data set posted (EADSDatabaseError when that fails; the data set is closed
  // either way). Closing by destruction or disconnecting rolls uncommitted posts back instead.
  void Close();
  bool Active() const { return cursor_ != nullptr; }
  // Reads the current record again as stored now, dropping an edit; false when another station
  // deleted it.
  bool Refresh();
  // How many of the posts since Open are committed (also after Close).
  int64_t CommittedPosts() const;
  void First();
  void Next();
  bool Eof() const;
  int64_t RecordCount();
  // EADSDatabaseError naming the field when the data set has none of that name.
  TAdsField& FieldByName(const std::string& name);
  // Edit mode for the current record; Post writes the fields set since, Cancel drops them.
  void Edit();
  void Post();
  void Cancel();
  bool Editing() const { return editing_; }

 protected:
  virtual std::unique_ptr<TAceCursor> OpenCursor(TAceConnection& connection) = 0;
  TAceCursor& Cursor() const;
  // Raises EADSDatabaseError with this data set's names filled in.
  [[noreturn]] void Fail(const std::string& message, uint32_t code = 0) const;
  // The table name engine errors carry (empty for queries).
  virtual std::string ErrorTableName() const { return {}; }
  // The connection named by DatabaseName, connected; EADSDatabaseError when there is none.
  TAdsConnection& BoundConnection() const;
  // Runs an engine call; an engine error leaving it gets this data set's names.
  template <typename F>
  decltype(auto) Guard(F&& call) const;

 private:
  friend class TAdsField;
  friend class TAdsConnection;
  // Closes without committing: the engine rolls back what was not committed.
  void Release() noexcept;
  std::unique_ptr<TAceCursor> cursor_;
  TAdsConnection* connection_ = nullptr;
  std::vector<std::unique_ptr<TAdsField>> fields_;
  // The fields set since Edit, in field order; the vector keeps its room between records.
  std::vector<std::pair<size_t, std::string>> pending_;
  bool editing_ = false;
  int64_t committedPosts_ = 0;  // of the cursor last closed
};

class TAdsTable : public TAdsDataSet {
 public:
  using TAdsDataSet::TAdsDataSet;
  std::string ClassName() const override { return "TAdsTable"; }
  std::string UnitName() const override { return "adstable"; }

  std::string TableName;  // "Docs.adt", "Cards.Adt": matched without case and extension
  std::string IndexName;  // empty: natural record order
  bool RightsChecking = true;
  bool ReadOnly = false;
  bool Exclusive = false;

  // Positions on the first record whose active index key equals key.
  bool Seek(const std::string& key);
  // Journals every later post of the open table (TAcePostJournal in the engine header).
  void JournalPosts(const TAcePostJournal& journal);
  // The next record whose grouped post the engine refused later (TAceCursor::NextRefused),
  // positioned on it as stored now; drops a pending edit.
  TAceRevisit NextRefused();

 protected:
  std::unique_ptr<TAceCursor> OpenCursor(TAceConnection& connection) override;
  std::string ErrorTableName() const override { return TableName; }
};

class TAdsQuery : public TAdsDataSet {
 public:
  using TAdsDataSet::TAdsDataSet;
  std::string ClassName() const override { return "TAdsQuery"; }
  std::string UnitName() const override { return "adsdata"; }

  std::string SQL;
  // Named parameters (":Name" in the text), set by name without the colon and matched without
  // case. They are bound as values when the query opens or runs, so a value set while the query
  // is open counts from its next Open. Opening a text that names a parameter with no value
  // raises EADSDatabaseError (AdsErrParamNotSet).
  void SetParam(const std::string& name, const std::string& value);
  void Prepare() { prepared_ = true; }
  void Unprepare() { prepared_ = false; }
  bool Prepared() const { return prepared_; }
  // Runs a statement that returns no rows.
  int64_t ExecSQL();

 protected:
  std::unique_ptr<TAceCursor> OpenCursor(TAceConnection& connection) override;

 private:
  TAceParams params_;
  bool prepared_ = false;
};
