#include "IniValueText.h"

#include "ProfileFile.h"

#include <array>
#include <charconv>
#include <cmath>

namespace IniValueText {

namespace {

// Reads one number from the front of a text and remembers where it stopped.
class Scanner {
public:
    explicit Scanner(QByteArrayView text)
        : m_text(text)
    {}

    void skipBlanks()
    {
        while (!atEnd() && ProfileFile::isBlank(peek()))
            ++m_pos;
    }

    [[nodiscard]] bool atEnd() const { return m_pos == m_text.size(); }
    [[nodiscard]] qsizetype position() const { return m_pos; }
    [[nodiscard]] char peek() const { return m_text.at(m_pos); }

    bool accept(char c)
    {
        if (atEnd() || peek() != c)
            return false;
        ++m_pos;
        return true;
    }

    // True for "-", false for "+" or no sign.
    bool acceptSign()
    {
        if (accept('-'))
            return true;
        accept('+');
        return false;
    }

    qsizetype skipDecimalDigits()
    {
        const qsizetype from = m_pos;
        while (!atEnd() && peek() >= '0' && peek() <= '9')
            ++m_pos;
        return m_pos - from;
    }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

[[nodiscard]] int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[nodiscard]] std::optional<std::uint32_t> hexPattern(QByteArrayView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFF'FFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

[[nodiscard]] std::optional<std::int32_t> decimal(QByteArrayView digits, bool negative)
{
    if (digits.isEmpty())
        return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

[[nodiscard]] bool equalsIgnoringCase(QByteArrayView text, QByteArrayView word)
{
    return text.compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray formatInteger(std::int32_t value)
{
    return QByteArray::number(value);
}

std::optional<std::int32_t> parseInteger(QByteArrayView text)
{
    Scanner scanner(text);
    scanner.skipBlanks();
    const bool negative = scanner.acceptSign();
    const QByteArrayView rest = text.sliced(scanner.position());
    if (rest.startsWith('$') || rest.startsWith("0x") || rest.startsWith("0X")) {
        const auto pattern = hexPattern(rest.sliced(rest.startsWith('$') ? 1 : 2));
        if (!pattern)
            return std::nullopt;
        // Unsigned wrap-around: "-$80000000" stays the lowest value, "-$FFFFFFFF" is 1.
        const std::uint32_t bits = negative ? 0u - *pattern : *pattern;
        return static_cast<std::int32_t>(bits);
    }
    return decimal(rest, negative);
}

QByteArray formatBoolean(bool value)
{
    return (value ? True : False).toByteArray();
}

std::optional<bool> parseBoolean(QByteArrayView text)
{
    if (equalsIgnoringCase(text, False))
        return false;
    if (equalsIgnoringCase(text, True))
        return true;
    if (const auto number = parseFloat(text))
        return *number != 0.0;
    return std::nullopt;
}

std::optional<QByteArray> formatFloat(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Zero is written without sign, minus zero included.
    const double magnitude = value == 0.0 ? 0.0 : std::fabs(value);
    std::array<char, 32> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude,
                                       std::chars_format::scientific, 14);
    // to_chars gives "d.dddddddddddddde+XX" with two or three exponent digits.
    const QByteArrayView shortest(digits.data(), written.ptr);
    const qsizetype e = shortest.indexOf('e');
    const QByteArrayView mantissa = shortest.first(e);
    const QByteArrayView exponent = shortest.sliced(e + 2);

    QByteArray text;
    text.reserve(23);
    text.append(value < 0.0 ? '-' : ' ').append(mantissa).append('E').append(shortest.at(e + 1));
    text.append(QByteArray(4 - exponent.size(), '0')).append(exponent);
    return text;
}

std::optional<double> parseFloat(QByteArrayView text)
{
    Scanner scanner(text);
    scanner.skipBlanks();
    const bool negative = scanner.acceptSign();
    const qsizetype numberStart = scanner.position();
    qsizetype digits = scanner.skipDecimalDigits();
    if (scanner.accept('.'))
        digits += scanner.skipDecimalDigits();
    if (digits == 0)
        return std::nullopt;
    if (scanner.accept('E') || scanner.accept('e')) {
        scanner.acceptSign();
        if (scanner.skipDecimalDigits() == 0)
            return std::nullopt;
    }
    if (!scanner.atEnd())
        return std::nullopt;

    // The grammar is checked above; from_chars only converts, and it ignores the locale.
    const QByteArrayView number = text.sliced(numberStart);
    double magnitude = 0.0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), magnitude);
    if (error != std::errc() || end != number.data() + number.size())
        return std::nullopt;
    return negative ? -magnitude : magnitude;
}

} // namespace IniValueText
