// The engine's named parameters (":Name") in PostgreSQL's numbered form ("$1"). The text is
// scanned as the server reads it: string literals ('...', E'...' with backslash escapes,
// $tag$...$tag$), quoted identifiers, comments and "::" casts are never taken for parameters.
#pragma once

#include <string>
#include <vector>

#include "platform/AceDriver.h"

struct TPgStatementText {
  std::string Sql;                 // the text with $n in place of each :Name
  std::vector<std::string> Names;  // Names[n - 1] is the name of $n; a name used twice is one $n
};

TPgStatementText NumberNamedParams(const std::string& sql);

// The values for the statement's parameters in $n order, as libpq takes them (pointers into
// params). A name without a value raises EADSDatabaseError (AdsErrParamNotSet) naming it;
// values for names the text does not use are ignored.
std::vector<const char*> ParamValues(const TPgStatementText& statement, const TAceParams& params);
