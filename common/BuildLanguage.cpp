#include "common/BuildLanguage.h"

#include <algorithm>
#include <cstring>

#include "common/StrTable.h"

namespace {
constexpr TStrId kLangIdString = sLangId;
// Plain bytes: nothing to free at exit.
constinit char buildLangId[16] = {};
}  // namespace

std::string GetLangId() {
  return buildLangId[0] ? std::string(buildLangId) : LoadStr(kLangIdString);
}

void SetBuildLangId(const std::string& langId) {
  const size_t length = std::min(langId.size(), sizeof buildLangId - 1);
  std::memcpy(buildLangId, langId.data(), length);
  buildLangId[length] = '\0';
}
