#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The two arguments a terminal user tries first. "--help" prints how to start Runlatch and
// "--version" its version, both without opening a window (no display is needed for them). Any
// other command line starts the program as always; "--help" wins over "--version".
[[nodiscard]] std::optional<QString> commandLineInfo(const QStringList& arguments);
