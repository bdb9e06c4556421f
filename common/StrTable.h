// The string table: every numbered user-facing text, byte for byte.
#pragma once

#include <string>
#include <vector>

#include "common/StrIds.h"

// The text of a string-table entry; empty for an unknown number.
const std::string& LoadStr(TStrId id);
// Every number the table holds, in ascending order.
std::vector<int> StrTableIds();
