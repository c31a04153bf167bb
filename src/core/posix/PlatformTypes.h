#pragma once

#include <QByteArray>

// The system's own types that shared code passes around without looking inside: file names are
// bytes here, so a name that is no valid text in the user's encoding still names its file.
using NativePath = QByteArray;
// An open file is a descriptor; -1 is none.
using NativeFile = int;
inline constexpr NativeFile NoNativeFile = -1;
// The number a failed call leaves in errno.
using SystemErrorCode = int;
