// Writing a settings file that IniFile.h reads back: sections and keys in the order first
// written, a key written again keeps its place and takes the new value. A value that would not
// read back unchanged (blanks around it, or enclosed in double quotes) is written inside one
// more pair of double quotes, which the reader removes.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TIniFileWriter {
 public:
  explicit TIniFileWriter(std::string file) : file_(std::move(file)) {}

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Writes the whole file, replacing what was there; false when it could not be written.
  bool UpdateFile() const;

 private:
  struct TSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;
  };
  std::string file_;
  std::vector<TSection> sections_;
};
