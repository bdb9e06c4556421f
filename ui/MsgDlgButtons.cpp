#include "ui/MsgDlgButtons.h"

#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {
constexpr TMsgDlgButtonInfo ButtonTable[MsgDlgBtnCount] = {
    {"Yes", sButtonYes, mrYes},
    {"No", sButtonNo, mrNo},
    {"OK", sButtonOk, mrOk},
    {"Cancel", sButtonCancel, mrCancel},
    {"Abort", sButtonAbort, mrAbort},
    {"Retry", sButtonRetry, mrRetry},
    {"Ignore", sButtonIgnore, mrIgnore},
    {"All", sButtonAll, mrAll},
    {"NoToAll", sButtonNoToAll, mrNoToAll},
    {"YesToAll", sButtonYesToAll, mrYesToAll},
    {"Help", sButtonHelp, mrNone},
};
constexpr const char* KindCaptions[] = {"Warning", "Error", "Information", "Confirm"};
}  // namespace

const TMsgDlgButtonInfo& MsgDlgButtonInfo(TMsgDlgBtn button) {
  return ButtonTable[static_cast<int>(button)];
}

std::string MsgDlgKindCaption(TMsgDlgType kind) {
  if (kind == TMsgDlgType::mtCustom)
    return Platform().HasUi() ? Platform().Ui().ApplicationTitle() : std::string();
  return KindCaptions[static_cast<int>(kind)];
}
