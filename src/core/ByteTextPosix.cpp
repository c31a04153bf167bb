#include "ByteText.h"

// File names and file contents are bytes here, and a job file that is not UTF-8 keeps its bytes
// through decodeBytes and encodeText: there is no code page to read it in.
std::optional<QByteArray> legacyTextAsUtf8(QByteArrayView /*bytes*/)
{
    return std::nullopt;
}

std::optional<QByteArray> utf8AsLegacyText(QByteArrayView /*utf8*/)
{
    return std::nullopt;
}
