#include "tests/support/TempDir.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vrltest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}
