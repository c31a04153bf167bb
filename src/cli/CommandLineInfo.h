#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The arguments a terminal user tries first. "--help" (or "/?") prints how to start Runlatch and
// "--version" its version, both without opening a window (no display is needed for them). Any
// other command line starts the program as always; the help wins over the version.
[[nodiscard]] std::optional<QString> commandLineInfo(const QStringList& arguments);
