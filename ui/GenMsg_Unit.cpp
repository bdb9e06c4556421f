// Interim message dialog: until the product's own dialog lands, the text goes to the plain
// message box of the user interface.
#include "ui/GenMsg_Unit.h"

#include "platform/Platform.h"
#include "platform/UiServices.h"

void GenShowMessage(const std::string& text, TMessageKind kind) {
  if (Platform().HasUi()) Platform().Ui().ShowMessage(text, kind);
}
