#pragma once

#include "Errors.h"
#include "PlatformTypes.h"

// SystemErrorCode is the number the system gives a failed call: errno, or the Win32 error code
// that GetLastError returns.

// The message of a failed system call with error code code and the system's text for it:
// "System Error.  Code: <code>." (on Windows "Win32 Error.  Code: <code>.") and, on the next
// line, the text without trailing blanks, control characters and full stops, so that the message
// ends the same way whatever the system's text ends with. Code 0 gives "A system function
// failed" (on Windows "A Win32 API function failed").
[[nodiscard]] QString systemErrorMessage(SystemErrorCode code, const QString& systemText);

// The platform error for code, with the system's text for it: strerror's, or on Windows
// FormatMessageW's in the user's language (empty when the system has none). subject is the
// program or file the failed call was about (see systemErrorText); none
// for a call about nothing the user named.
[[nodiscard]] PlatformError systemError(SystemErrorCode code, const QString& subject = {});

// The system's text for an error code (strerror's, or FormatMessageW's in the user's language);
// empty for a code the system has no text for. Where the text has places for the name of what
// failed (Windows' "%1 is not a valid Win32 application."), they hold subject.
[[nodiscard]] QString systemErrorText(int code, const QString& subject = {});

// The platform's wording around a code: "System Error.  Code: %1.\n%2" and the text for code 0.
[[nodiscard]] QString systemErrorCodeText();
[[nodiscard]] QString systemErrorNoCodeText();
