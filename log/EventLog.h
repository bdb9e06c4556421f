// The event log's entry points: every unit writes events through these two calls.
#pragma once

#include <exception>
#include <string>

class TObject;

// Writes one entry with an event name and a text.
void LogEvent(const std::string& name, const std::string& text);
// Writes one entry on behalf of sender (may be none) with an exception (may be none).
void LogEventEx(const TObject* sender, const std::string& name, const std::string& text,
                const std::exception* e);
