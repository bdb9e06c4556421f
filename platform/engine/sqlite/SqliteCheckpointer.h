// Copies a WAL database's committed pages from its WAL file into the database file on a thread
// of its own, through a connection of its own, so the connection that writes (a replace) goes
// on posting while the pages are copied, instead of stopping for each checkpoint as SQLite's
// automatic checkpoints make it. Checkpoints are passive: they never wait for or block a
// writer or a reader of any station, and copy what no reader still needs.
#pragma once

#include <sqlite3.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class TSqliteCheckpointer {
 public:
  // Starts the thread; its connection to the file opens there. std::system_error when no
  // thread can be started.
  explicit TSqliteCheckpointer(std::string file);
  // Waits for a checkpoint under way, then closes the connection.
  ~TSqliteCheckpointer();
  TSqliteCheckpointer(const TSqliteCheckpointer&) = delete;
  TSqliteCheckpointer& operator=(const TSqliteCheckpointer&) = delete;

  // Asks for a checkpoint; false when the checkpointer cannot run any (its connection could not
  // be opened, or a checkpoint failed other than busy), so the caller checkpoints itself.
  bool Request();

 private:
  void Run();
  // Notes a failure on the log, once, and stops taking requests.
  void Fail(const std::string& what, sqlite3* db);

  std::string file_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool wanted_ = false;
  bool stop_ = false;
  bool failed_ = false;
  std::thread thread_;
};
