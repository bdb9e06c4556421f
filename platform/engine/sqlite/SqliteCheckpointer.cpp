#include "platform/engine/sqlite/SqliteCheckpointer.h"

#include <iostream>

TSqliteCheckpointer::TSqliteCheckpointer(std::string file)
    : file_(std::move(file)), thread_([this] { Run(); }) {}

TSqliteCheckpointer::~TSqliteCheckpointer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool TSqliteCheckpointer::Request() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failed_) return false;
    wanted_ = true;
  }
  wake_.notify_one();
  return true;
}

void TSqliteCheckpointer::Fail(const std::string& what, sqlite3* db) {
  std::clog << "Database engine: " << what << " (" << file_
            << "): " << (db ? sqlite3_errmsg(db) : "out of memory")
            << "; the writing connection checkpoints the database itself" << std::endl;
  std::lock_guard<std::mutex> lock(mutex_);
  failed_ = true;
}

void TSqliteCheckpointer::Run() {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
          SQLITE_OK ||
      sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail("The background checkpoints cannot open the database", db);
    sqlite3_close_v2(db);
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return wanted_ || stop_; });
    if (stop_) break;
    wanted_ = false;
    lock.unlock();
    const int rc =
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    // Busy: another connection is checkpointing; what is left is copied next time.
    if (rc != SQLITE_OK && rc != SQLITE_BUSY) {
      Fail("A background checkpoint failed", db);
      break;
    }
    lock.lock();
  }
  if (lock.owns_lock()) lock.unlock();
  sqlite3_close_v2(db);
}
