#pragma once

#include "Errors.h"

// The message of a failed system call with error code code and the system's text for it:
// "System Error.  Code: <code>." and, on the next line, the text without trailing blanks, control
// characters and full stops (system texts often end in ".\r\n"). Code 0 gives "A system function
// failed".
[[nodiscard]] QString systemErrorMessage(int code, const QString& systemText);

// The platform error for an errno value, with strerror's text.
[[nodiscard]] PlatformError systemError(int code);
