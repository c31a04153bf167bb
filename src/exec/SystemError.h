#pragma once

#include "Errors.h"

// The message of a failed system call with error code code and the system's text for it:
// "System Error.  Code: <code>." and, on the next line, the text without trailing blanks, control
// characters and full stops, so that the message ends the same way whatever the system's text
// ends with. Code 0 gives "A system function failed".
[[nodiscard]] QString systemErrorMessage(int code, const QString& systemText);

// The platform error for an errno value, with strerror's text.
[[nodiscard]] PlatformError systemError(int code);
