// One opening of a log file for appending, closed when it goes. The file is opened without
// following a link at its name (a planted link counts as a file that cannot be opened) and is
// created group-writable when missing (OpenSharedFile); the opening itself tells whether the
// file was already there, so a file another process moves aside at the same moment is never
// taken for an existing one.
#pragma once

#include <string>

class TLogFile {
 public:
  TLogFile() = default;
  ~TLogFile();
  TLogFile(const TLogFile&) = delete;
  TLogFile& operator=(const TLogFile&) = delete;

  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Whether the file was there before this opening.
  bool Existed() const { return existed_; }
  // Appends the text in one write where the system allows, so entries of several processes
  // stay whole; a failed write is dropped (logging never raises).
  void Write(const std::string& text);
  void Close();

 private:
  int fd_ = -1;
  bool existed_ = false;
};
