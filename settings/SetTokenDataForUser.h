// The settings start-up: the one call through which a program loads its preferences for a user
// level. It never ends the process: every failure becomes a log entry and a result code.
#pragma once

#include <cstdint>
#include <string>

#include "common/StrIds.h"

enum TSetTokenDataResult : uint8_t {
  stdLoaded = 1,           // settings loaded and completed
  stdGeneralFailure = 2,   // any other failure of ours (database, language); logged
  stdVariantError = 3,     // a value did not fit its field's kind; reported by DisplayErr
  stdConversionError = 4,  // a value did not parse under its type letter; reported by DisplayErr
};

// The start-up failure text of result 2 (string table).
inline constexpr TStrId SetTokenDataFailureTextId = sLangPrefLoadError;

// Creates the store if needed, resets the records, reads the rows of the system level, the
// all-users level and userId's level ("-1": the all-users settings) and completes them.
// Exceptions that are not the program's own pass on to the caller.
uint8_t SetTokenDataForUser(const std::string& userId);
