#pragma once

#include <QString>
#include <QStringView>

// The text without leading and trailing characters of code 0 to 32: blanks, tabs, line breaks
// and other control characters, but not the wider Unicode spaces QString::trimmed() removes.
// Job file entries and the schedule dialog's fields are trimmed this way.
[[nodiscard]] QString trimmedText(QStringView text);

// The text on one line: each line break (CR LF, LF or CR) becomes one blank. A system error's
// message has two lines, and a log line, a status bar or standard error shows one.
[[nodiscard]] QString oneLineText(QString text);
