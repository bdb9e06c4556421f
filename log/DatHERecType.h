// One event handed to the event log writer.
#pragma once

#include <exception>
#include <string>

#include "common/TDateTime.h"

class TObject;

struct TDatHERecType {
  TDateTime EventTime = 0;  // local time at which the record was filled
  std::string EventName;    // written as the "Proc_Name" line
  std::string EventText;    // written unchanged
  const std::exception* ExceptionObj = nullptr;
  const TObject* Sender = nullptr;
  // The plain line form: a single line instead of an entry.
  bool LineMode = false;
  bool BlankAfter = false;  // an empty line follows the line
  bool WithTime = false;    // the line starts with the time stamp and " - "
  bool WithHeader = false;  // the header line comes first
  bool NoLineEnd = false;   // the line has no line end
};
