#include "common/FormatSettings.h"

#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace {

TRegionalSettingsRec& Saved() {
  static TRegionalSettingsRec saved;
  return saved;
}

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

void InitFormatSettings() {
  const TSystemRegionalSettings system = Platform().System().RegionalSettings();
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
