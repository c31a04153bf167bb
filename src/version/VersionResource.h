#pragma once

#include "VersionBlock.h"

#include <QByteArrayView>

#include <optional>

// Decodes a Windows version resource (the VS_VERSIONINFO tree, as GetFileVersionInfoW returns it
// or as it lies in a compiled resource) into the values the version block gives on Linux, so
// that the reader and the About box need not know which platform the file came from.
//
// The strings come from the string table of the first translation listed in
// VarFileInfo\Translation, as Windows' own lookup picks them. A tree without that list, without
// the fixed part or with any node whose lengths leave its parent gives nullopt; the decoder
// never reads outside the bytes it is given, so a hostile file cannot make it crash.
[[nodiscard]] std::optional<VersionBlockValues> decodeVersionResource(QByteArrayView bytes);
