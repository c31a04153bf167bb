#pragma once

#include "TrimmedText.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Whole numbers as the user types them into the schedule dialog's fields.

// The text read as a signed 32-bit integer: an optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x". Nothing else may surround the number, and a value
// outside the signed 32-bit range is not valid either; both give nullopt.
[[nodiscard]] std::optional<std::int32_t> parseInt32(QStringView text);
