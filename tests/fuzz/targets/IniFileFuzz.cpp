// The settings-file reader on any file: a key written after the file's own text is found with
// its value, whatever the text before it; a value found is a piece of the file on one line; a
// value not found leaves the caller's alone and gives the default. Input: the file's bytes.
#include <unistd.h>

#include <cstdlib>

#include "common/IniFile.h"
#include "common/SysUtils.h"
#include "tests/fuzz/targets/FuzzSupport.h"

namespace {

// A file of the temporary folder holding content, removed with the object.
class TTempIni {
 public:
  explicit TTempIni(const std::string& content) {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/vrl-fuzz-ini-XXXXXX";
    const int fd = mkstemp(path_.data());
    FUZZ_CHECK(fd >= 0);
    for (size_t done = 0; done < content.size();) {
      const ssize_t n = write(fd, content.data() + done, content.size() - done);
      FUZZ_CHECK(n > 0);
      done += static_cast<size_t>(n);
    }
    close(fd);
  }
  ~TTempIni() { unlink(path_.c_str()); }
  TTempIni(const TTempIni&) = delete;
  TTempIni& operator=(const TTempIni&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The first "name=value" line's name and the section it stands in, as a reader would guess them.
std::pair<std::string, std::string> FirstKey(const std::string& text) {
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line[0] == '[' && line.find(']') != std::string::npos) {
      section = line.substr(1, line.find(']') - 1);
    } else if (const size_t equals = line.find('='); equals != std::string::npos) {
      return {section, line.substr(0, equals)};
    }
  }
  return {};
}

void Lookup(const TTempIni& file, const std::string& content, const std::string& section,
            const std::string& key) {
  std::string value = "untouched";
  const bool found = ReadIniValue(file.Path(), section, key, value);
  FUZZ_CHECK(ReadIniString(file.Path(), section, key, "default") == (found ? value : "default"));
  if (!found) {
    FUZZ_CHECK(value == "untouched");
    return;
  }
  FUZZ_CHECK(content.find(value) != std::string::npos);
  FUZZ_CHECK(value.find('\n') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = FuzzText(data, size);
  const std::string content = text + "\n[VrlFuzz]\nVrlFuzzKey = \"a value\" \n";
  const TTempIni file(content);
  std::string value;
  FUZZ_CHECK(ReadIniValue(file.Path(), " vrlfuzz", "VRLFUZZKEY ", value));
  if (UpperCase(text).find("VRLFUZZ") == std::string::npos) FUZZ_CHECK(value == "a value");
  const auto [section, key] = FirstKey(text);
  Lookup(file, content, section, key);
  Lookup(file, content, "VrlFuzz", "missing");
  return 0;
}
