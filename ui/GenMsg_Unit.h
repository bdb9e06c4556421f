// The product's message dialog.
#pragma once

#include <string>

// Shows text in the product's plain message dialog: caption the application title, one OK
// button.
void GenShowMessage(const std::string& text);
