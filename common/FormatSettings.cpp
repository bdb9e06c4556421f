#include "common/FormatSettings.h"

#include <memory>

namespace {

// Both created on first use; freed by FreeFormatSettings (the regional formats unit's stop step).
constinit std::unique_ptr<TRegionalSettingsRec> saved;
constinit std::unique_ptr<TFormatSettings> settings;

TRegionalSettingsRec& Saved() {
  if (!saved) saved = std::make_unique<TRegionalSettingsRec>();
  return *saved;
}

}  // namespace

TFormatSettings& FormatSettings() {
  if (!settings) settings = std::make_unique<TFormatSettings>();
  return *settings;
}

void FreeFormatSettings() {
  settings.reset();
  saved.reset();
}

void SetFormatSettingsFrom(const TSystemRegionalSettings& system) {
  TFormatSettings& s = FormatSettings();
  s = TFormatSettings{};
  static_cast<TSystemRegionalSettings&>(s) = system;
  Saved() = CurrentRegionalSettings();
  // From here on every number and time uses these separators, whatever the system says.
  s.TimeSeparator = ':';
  s.ThousandSeparator = ',';
  s.DecimalSeparator = '.';
}

const TRegionalSettingsRec& SavedRegionalSettings() {
  return Saved();
}

TRegionalSettingsRec CurrentRegionalSettings() {
  const TFormatSettings& s = FormatSettings();
  auto text = [](char c) { return c ? std::string(1, c) : std::string(); };
  return {s.LongDateFormat,          s.ShortDateFormat,       s.LongTimeFormat, s.ShortTimeFormat,
          text(s.DateSeparator),     text(s.TimeSeparator),   s.TimeAMString,   s.TimePMString,
          text(s.ThousandSeparator), text(s.DecimalSeparator)};
}
