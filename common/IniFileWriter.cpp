#include "common/IniFileWriter.h"

#include <fstream>

#include "common/SysUtils.h"

namespace {

std::string Quoted(const std::string& value) {
  const bool enclosed = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  return enclosed || Trim(value) != value ? '"' + value + '"' : value;
}

}  // namespace

void TIniFileWriter::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value) {
  TSection* target = nullptr;
  for (TSection& s : sections_)
    if (SameText(s.Name, section)) target = &s;
  if (!target) target = &sections_.emplace_back(TSection{section, {}});
  for (auto& [name, old] : target->Keys)
    if (SameText(name, key)) {
      old = value;
      return;
    }
  target->Keys.emplace_back(key, value);
}

bool TIniFileWriter::UpdateFile() const {
  std::ofstream out(file_, std::ios::binary | std::ios::trunc);
  for (const TSection& s : sections_) {
    out << '[' << s.Name << "]\r\n";
    for (const auto& [key, value] : s.Keys) out << key << '=' << Quoted(value) << "\r\n";
  }
  out.close();
  return static_cast<bool>(out);
}
