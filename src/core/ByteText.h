#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Program paths, parameters and job file values are bytes to the system, yet the job table holds
// text. These two turn one into the other without loss: valid UTF-8 decodes as usual, and every
// byte that is not part of valid UTF-8 becomes one code unit of U+DC80 to U+DCFF, a lone
// surrogate that no valid text contains, which encodes back to that same byte. So a name that is
// not valid UTF-8 reaches the started program and the job file unchanged.
[[nodiscard]] QString decodeBytes(QByteArrayView bytes);
[[nodiscard]] QByteArray encodeText(QStringView text);
