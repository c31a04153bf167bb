#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Program paths, parameters and job file values are bytes to the system, yet the job table holds
// text. These two turn one into the other without loss: valid UTF-8 decodes as usual, and every
// byte that is not part of valid UTF-8 becomes one code unit of U+DC80 to U+DCFF, a lone
// surrogate that no valid text contains, which encodes back to that same byte. So a name that is
// not valid UTF-8 reaches the started program and the job file unchanged.
[[nodiscard]] QString decodeBytes(QByteArrayView bytes);
[[nodiscard]] QByteArray encodeText(QStringView text);

// Text files written by older tools may be in the system's legacy code page (on Windows the ANSI
// code page, which Notepad calls "ANSI") instead of UTF-8; a platform without one keeps such a
// file's bytes as they are (above). One implementation per platform.
//
// The file's text as UTF-8 when the platform reads it in its legacy code page: bytes that are not
// valid UTF-8, do not begin with a UTF-8 byte-order mark, and come back byte for byte from the
// code page. Nothing otherwise: the file is read as UTF-8.
[[nodiscard]] std::optional<QByteArray> legacyTextAsUtf8(QByteArrayView bytes);
// UTF-8 text in the legacy code page again; nothing when the text holds a character the code page
// has no byte for, or bytes that are not valid UTF-8.
[[nodiscard]] std::optional<QByteArray> utf8AsLegacyText(QByteArrayView utf8);
