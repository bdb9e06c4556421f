// The product's message dialog.
#pragma once

#include <string>

#include "platform/UiServices.h"

// Shows text in the product's plain message dialog: caption the application title, one OK
// button.
void GenShowMessage(const std::string& text, TMessageKind kind);
