// The application-wide handling of an exception that escapes a window's event handler: the
// window program's handlers hand such exceptions here instead of letting them run through Qt.
#pragma once

#include <exception>

// Shows the exception's message in an error box.
void HandleApplicationException(const std::exception& e);
