#include "db/PrefTypes.h"

#include "common/SysUtils.h"

bool IsTextPrefType(const std::string& tokenType) {
  const std::string letter = UpperCase(tokenType);
  return letter == "A" || letter == "M" || letter == "CI";
}
