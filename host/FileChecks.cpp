#include "host/FileChecks.h"

#include "common/DateUtils.h"
#include "common/FileUtils.h"
#include "common/PathUtils.h"
#include "common/StrTable.h"
#include "host/Clock.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

bool CheckFileExists(const std::string& file, bool showError, const std::string& message) {
  if (FileExists(file)) return true;
  if (showError)
    Platform().Ui().ShowError(message.empty() ? LoadStr(sFileNotFound) + "\r\n" + file : message);
  return false;
}

std::string DatedFileName(const std::string& file, const std::string& format) {
  const std::string ext = ExtractFileExt(file);
  return file.substr(0, file.size() - ext.size()) + "-" + FormatDateTime(format, Now()) + ext;
}
