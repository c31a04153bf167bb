// Feeds arbitrary bytes to the version reader's two halves, as a program file to search for the
// version section and as a version block to decode, and checks what must always hold: a section
// comes from inside the file and within its size limit, and a decoded block, written again,
// reads back to the same values.

#include "ElfSection.h"
#include "VersionBlock.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkSectionLookup(const QByteArray& file)
{
    QBuffer buffer;
    buffer.setData(file);
    require(buffer.open(QIODevice::ReadOnly));
    const ElfSection section = ElfSection::find(buffer, VersionSectionName);
    if (section.outcome != ElfSection::Outcome::Found)
        return;
    require(section.contents.size() <= ElfSection::MaxContentsSize);
    require(file.contains(section.contents));
}

void checkRoundTrip(const QByteArray& bytes)
{
    const auto values = decodeVersionBlock(bytes);
    if (!values)
        return;
    std::vector<std::string> texts;
    for (auto it = values->strings.cbegin(); it != values->strings.cend(); ++it) {
        texts.push_back(it.key().toStdString());
        texts.push_back(it.value().toStdString());
    }
    std::vector<VersionBlockEntry> entries;
    for (std::size_t i = 0; i < texts.size(); i += 2)
        entries.push_back({texts[i], texts[i + 1]});
    const auto parts = [](std::uint32_t ms, std::uint32_t ls) {
        return std::array<std::uint16_t, 4>{
            static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms & 0xFFFF),
            static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls & 0xFFFF)};
    };
    QByteArray again;
    try {
        writeVersionBlock({parts(values->fileVersionMS, values->fileVersionLS),
                           parts(values->productVersionMS, values->productVersionLS), entries},
                          [&](std::uint8_t b) { again.append(static_cast<char>(b)); });
    } catch (const std::length_error&) {
        // Invalid UTF-8 read as U+FFFD can grow a text past its 16-bit length.
        return;
    }
    const auto decodedAgain = decodeVersionBlock(again);
    require(decodedAgain.has_value());
    require(decodedAgain->strings == values->strings);
    require(decodedAgain->fileVersionLS == values->fileVersionLS);
    require(decodedAgain->productVersionMS == values->productVersionMS);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkSectionLookup(bytes);
    checkRoundTrip(bytes);
    return 0;
}
