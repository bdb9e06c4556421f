#include "host/FormatSetup.h"

#include "common/FormatSettings.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

void InitFormatSettings() {
  SetFormatSettingsFrom(Platform().System().RegionalSettings());
}
