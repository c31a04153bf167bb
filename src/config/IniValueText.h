#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

// How integers, booleans and floating-point numbers look as text in an INI file. The forms are
// fixed and never follow the user's locale, so a job file reads the same on every machine.
namespace IniValueText {

inline constexpr QByteArrayView True("TRUE");
inline constexpr QByteArrayView False("FALSE");

[[nodiscard]] QByteArray formatInteger(std::int32_t value);

// Leading blanks, an optional sign, then decimal digits, or hexadecimal digits after "$", "0x"
// or "0X". Decimal numbers must fit a signed 32-bit integer. Hexadecimal numbers of up to eight
// digits are a 32-bit pattern, so "$FFFFFFFF" is -1; a sign in front negates that value.
[[nodiscard]] std::optional<std::int32_t> parseInteger(QByteArrayView text);

[[nodiscard]] QByteArray formatBoolean(bool value);

// "TRUE" or "FALSE" in any case; else a number as parseFloat takes it, true when not zero.
[[nodiscard]] std::optional<bool> parseBoolean(QByteArrayView text);

// Exactly 23 characters: a blank or "-", the 15 significant digits rounded to nearest as
// "d.dddddddddddddd", "E", the exponent's sign and four digits. Infinities and NaN have no such
// form: nullopt.
[[nodiscard]] std::optional<QByteArray> formatFloat(double value);

// Leading blanks, an optional sign, digits with an optional "." and fraction, then an optional
// "E" or "e" with an optional sign and at least one digit. There must be a digit before or after
// the ".", so ".5" and "5." are numbers and "E5" and "." are not; nor are "inf", "nan" and
// numbers beyond the range of a double (either way).
[[nodiscard]] std::optional<double> parseFloat(QByteArrayView text);

} // namespace IniValueText
