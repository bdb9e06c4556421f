#include "ui/MsgDlgButtons.h"

#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {
constexpr TMsgDlgButtonInfo ButtonTable[MsgDlgBtnCount] = {
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
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
