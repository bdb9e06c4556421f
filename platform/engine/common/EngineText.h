// Text helpers every engine implementation shares: quoted identifiers and errors with more said.
#pragma once

#include <string>

#include "platform/EADSDatabaseError.h"

// "name" with embedded quotes doubled, for table and column names in statement texts.
std::string QuoteIdent(const std::string& name);
// 'text' with embedded quotes doubled, for a constant text in a statement.
std::string QuoteLiteral(const std::string& text);

// The same error with more text after its message.
EADSDatabaseError Appended(const EADSDatabaseError& error, const std::string& more);

// " (n posted record(s) were rolled back)": what a failed group of posts took with it.
std::string RolledBackText(int64_t lost);
