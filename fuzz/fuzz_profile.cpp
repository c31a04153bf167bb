// Feeds arbitrary bytes to the INI text reader and writer and to the value forms, and checks
// what must always hold: reads stay within their limit, a write reads back as written, a
// protected value reads back whole where its quotes fit, the edited text reads as a new reading
// of its bytes does, the number forms survive their round trip.

#include "IniValueText.h"
#include "ProfileFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

[[nodiscard]] QByteArrayView viewOf(const std::string& text)
{
    return QByteArrayView(text.data(), static_cast<qsizetype>(text.size()));
}

// Names that the file's own syntax cannot mistake for something else.
[[nodiscard]] bool plainNames(QByteArrayView section, QByteArrayView key)
{
    const QByteArrayView name = ProfileFile::trimmed(key);
    const bool plainKey = !name.contains('=') && !name.startsWith('[') && !name.startsWith(';');
    return plainKey && !section.contains(']');
}

void checkValueForms(QByteArrayView text, std::int32_t integer, double number)
{
    static_cast<void>(IniValueText::parseInteger(text));
    static_cast<void>(IniValueText::parseBoolean(text));
    if (const auto parsed = IniValueText::parseFloat(text))
        require(std::isfinite(*parsed));

    require(IniValueText::parseInteger(IniValueText::formatInteger(integer)) == integer);

    const auto written = IniValueText::formatFloat(number);
    require(written.has_value() == std::isfinite(number));
    if (!written)
        return;
    require(written->size() == 23);
    // Rounding up to 15 digits may carry the largest numbers out of range.
    if (const auto back = IniValueText::parseFloat(*written))
        require(std::fabs(*back - number) <= std::fabs(number) * 5e-15);
    else
        require(std::fabs(number) > 1.797693134862e308);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(1200);
    const auto integer = input.ConsumeIntegral<std::int32_t>();
    const auto number = input.ConsumeFloatingPoint<double>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    ProfileFile file(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    const QByteArray found = file.lookup(viewOf(section), viewOf(key), {});
    require(found.size() <= ProfileFile::MaxValueLength);
    checkValueForms(found, integer, number);
    checkValueForms(viewOf(value), integer, number);

    // The store refuses line breaks and NULs before the text is ever edited.
    if (ProfileFile::fitsOnOneLine(viewOf(section)) && ProfileFile::fitsOnOneLine(viewOf(key)) &&
        ProfileFile::fitsOnOneLine(viewOf(value))) {
        const QByteArray written = ProfileFile::protectedValue(viewOf(value));
        file.setValue(viewOf(section), viewOf(key), written);
        require(file.hasSection(viewOf(section)) || viewOf(section).contains(']'));
        // A value too long for its quotes is written as it is, and read as the rules take it.
        if (plainNames(viewOf(section), viewOf(key)) &&
            ProfileFile::unquoted(ProfileFile::trimmed(written)) == viewOf(value))
            require(
                file.lookup(viewOf(section), viewOf(key), "\x01") ==
                viewOf(value).first(std::min(viewOf(value).size(), ProfileFile::MaxValueLength)));
        const ProfileFile fresh(file.bytes());
        require(fresh.hasSection(viewOf(section)) == file.hasSection(viewOf(section)));
        require(fresh.lookup(viewOf(section), viewOf(key), "\x01") ==
                file.lookup(viewOf(section), viewOf(key), "\x01"));
    }

    const qsizetype before = file.bytes().size();
    if (file.eraseSection(viewOf(section)))
        require(file.bytes().size() < before);
    return 0;
}
