#include "startup/GuardMessages.h"

#include "platform/Platform.h"
#include "platform/UiServices.h"

void ShowGuardMessage(const std::string& text) {
  Platform().Ui().ShowMessage(text, TMessageKind::mkWarning);
}
