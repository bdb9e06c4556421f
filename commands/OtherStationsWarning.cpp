#include "commands/OtherStationsWarning.h"

#include <exception>

#include "common/Format.h"
#include "common/StrTable.h"
#include "db/OtherStations.h"
#include "log/EventLog.h"
#include "ui/GenMsg_Unit.h"

namespace {

constexpr const char* kLogName = "Other Stations";

// The message dialog's OK button becomes Continue (same modal result).
void CaptionOkAsContinue(void*, TMessageForm& dialog) {
  if (TDialogControl* ok = dialog.FindControl(MsgDlgButtonInfo(TMsgDlgBtn::mbOK).Name))
    ok->Caption = LoadStr(sContinueButton);
}

}  // namespace

std::string OtherStationsCountLine(int count) {
  return count == 1 ? LoadStr(sOneOtherStation) : Format(LoadStr(sOtherStations), {count});
}

const std::string& OtherStationsAdvice() {
  return LoadStr(sCloseOtherStations);
}

bool AskInMessageDialog(int count) {
  bool checked = false;
  return GenMessageDlgEx(OtherStationsCountLine(count) + "\r\n\r\n" + OtherStationsAdvice(),
                         TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel}, checked,
                         &CaptionOkAsContinue, nullptr, true, false, std::string(), 0,
                         false) == mrOk;
}

bool WarnOfOtherStations(const TOtherStationsPrompt& prompt) {
  int count = 0;
  try {
    count = CountOtherStations().value_or(0);
  } catch (const std::exception& e) {
    LogEvent(kLogName, std::string("The other stations could not be counted: ") + e.what());
    return true;
  }
  if (count <= 0) return true;
  const bool goOn = prompt ? prompt(count) : AskInMessageDialog(count);
  LogEvent(kLogName, OtherStationsCountLine(count) + "\r\n" + (goOn ? "Continued" : "Cancelled"));
  return goOn;
}
