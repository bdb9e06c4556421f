#include "common/IniFile.h"

#include <ini.h>

#include <cstdio>

#include "common/SysUtils.h"

namespace {

// Well beyond any settings line; the buffer only grows as far as the longest line needs.
constexpr int MaxIniLine = 1 << 30;

struct TIniLookup {
  std::string section, key, value;
  bool found = false;
};

int IniHandler(void* user, const char* section, const char* name, const char* value) {
  auto* lookup = static_cast<TIniLookup*>(user);
  if (!lookup->found && UpperCase(section) == lookup->section && UpperCase(name) == lookup->key) {
    lookup->value = value;
    lookup->found = true;
  }
  return 1;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

bool ReadIniValue(const std::string& file, const std::string& section, const std::string& key,
                  std::string& value) {
  FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return false;
  TIniLookup lookup{UpperCase(Trim(section)), UpperCase(Trim(key)), {}, false};
  // The library's line buffer starts small on the heap and grows with the longest line, so a
  // line of any length (a deep database folder) is read whole, never cut.
  ini_use_stack = false;
  ini_allow_realloc = true;
  ini_max_line = MaxIniLine;
  // A parse error on one line does not stop the reading: the pairs found still count.
  ini_parse_file(f, IniHandler, &lookup);
  std::fclose(f);
  if (!lookup.found) return false;
  value = Unquote(lookup.value);
  return true;
}

std::string ReadIniString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& defaultValue) {
  std::string value;
  return ReadIniValue(file, section, key, value) ? value : defaultValue;
}
