// Filling the process format settings from the system.
#pragma once

// Start-up step, before anything else: fills the settings from the system's regional settings
// (Platform().System()), saves them in the regional settings record, then fixes the time
// separator to ":", the thousands separator to "," and the decimal separator to ".". Calling it
// again starts over from the system's values (a test's fresh start).
void InitFormatSettings();
