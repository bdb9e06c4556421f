#include "app/ApplicationException.h"

#include "platform/Platform.h"
#include "platform/UiServices.h"

void HandleApplicationException(const std::exception& e) {
  Platform().Ui().ShowError(e.what());
}
