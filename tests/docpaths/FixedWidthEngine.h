// An engine that enforces one width on every table column, as a remote server would: the SQLite
// engine underneath, its table cursors answering FieldWidth with the given width. Query cursors
// and every other call pass through unchanged.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/AceDriver.h"

class TFixedWidthCursor : public TAceCursor {
 public:
  TFixedWidthCursor(std::unique_ptr<TAceCursor> inner, size_t width)
      : inner_(std::move(inner)), width_(width) {}
  const std::vector<std::string>& FieldNames() const override { return inner_->FieldNames(); }
  bool Eof() const override { return inner_->Eof(); }
  void First() override { inner_->First(); }
  void Next() override { inner_->Next(); }
  const std::string& FieldText(size_t field) const override { return inner_->FieldText(field); }
  bool FieldIsNull(size_t field) const override { return inner_->FieldIsNull(field); }
  void Post(const std::vector<std::pair<size_t, std::string>>& changes) override {
    inner_->Post(changes);
  }
  bool Refresh() override { return inner_->Refresh(); }
  void Close() override { inner_->Close(); }
  int64_t CommittedPosts() const override { return inner_->CommittedPosts(); }
  int64_t RecordCount() override { return inner_->RecordCount(); }
  bool Seek(const std::string& key) override { return inner_->Seek(key); }
  std::optional<size_t> FieldWidth(size_t) const override { return width_; }
  void JournalPosts(const TAcePostJournal& journal) override { inner_->JournalPosts(journal); }

 private:
  std::unique_ptr<TAceCursor> inner_;
  size_t width_;
};

class TFixedWidthConnection : public TAceConnection {
 public:
  TFixedWidthConnection(std::unique_ptr<TAceConnection> inner, size_t width)
      : inner_(std::move(inner)), width_(width) {}
  std::string ConnectionType() const override { return inner_->ConnectionType(); }
  std::unique_ptr<TAceCursor> OpenTable(const std::string& tableName,
                                        const TAceTableOptions& options) override {
    return std::make_unique<TFixedWidthCursor>(inner_->OpenTable(tableName, options), width_);
  }
  std::unique_ptr<TAceCursor> OpenQuery(const std::string& sql, const TAceParams& params) override {
    return inner_->OpenQuery(sql, params);
  }
  int64_t ExecSQL(const std::string& sql, const TAceParams& params) override {
    return inner_->ExecSQL(sql, params);
  }
  void CloseCachedTables() override { inner_->CloseCachedTables(); }
  std::optional<int> OtherStations(const std::string& lockTableName) override {
    return inner_->OtherStations(lockTableName);
  }

 private:
  std::unique_ptr<TAceConnection> inner_;
  size_t width_;
};

class TFixedWidthDriver : public TAceDriver {
 public:
  TFixedWidthDriver(std::unique_ptr<TAceDriver> inner, size_t width)
      : inner_(std::move(inner)), width_(width) {}
  std::unique_ptr<TAceConnection> Connect(const std::string& path,
                                          TAdsServerType serverType) override {
    return std::make_unique<TFixedWidthConnection>(inner_->Connect(path, serverType), width_);
  }
  TAceVersion Version() override { return inner_->Version(); }

 private:
  std::unique_ptr<TAceDriver> inner_;
  size_t width_;
};
