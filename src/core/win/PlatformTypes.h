#pragma once

#include <QString>

// The system's own types that shared code passes around without looking inside: file names are
// UTF-16 text here.
using NativePath = QString;
// An open file is a handle; null is none.
using NativeFile = void*;
inline constexpr NativeFile NoNativeFile = nullptr;
// The Win32 error code that GetLastError returns (a DWORD, which is unsigned long here).
using SystemErrorCode = unsigned long;
