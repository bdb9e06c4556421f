// The warning before a replace when other stations have the CRM open: documents they save while
// the paths change may keep the old path. The count goes to the log in an entry of its own
// ("Other Stations"); the user is told the count and advised to close the CRM there, then
// chooses to continue or cancel. A station alone is not warned.
#pragma once

#include <functional>
#include <string>

// Warns of count other stations and answers true to continue. The window asks in the product's
// message dialog (AskInMessageDialog); the console program prints the warning on its error
// stream and asks on its terminal.
using TOtherStationsPrompt = std::function<bool(int count)>;

// "2 other stations have the CRM open." ("1 other station has ..." for one).
std::string OtherStationsCountLine(int count);
// The advice to close the CRM on those stations.
const std::string& OtherStationsAdvice();

// The count line and the advice in the message dialog with a warning sign, Continue and Cancel;
// true for Continue.
bool AskInMessageDialog(int count);

// Counts the other stations; when there are any, logs the count and asks prompt (the message
// dialog when empty). True when the replace may go on. A count that fails is logged and
// treated as none: the warning is advice, and the replace itself reports real failures.
bool WarnOfOtherStations(const TOtherStationsPrompt& prompt);
