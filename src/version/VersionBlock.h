#pragma once

#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>

// The version information a Runlatch program file carries: the build writes one block into its
// own ELF section, and TStVersionInfo reads it back. The layout is fixed little-endian bytes, so
// a file can be read on any machine whatever the byte order of the machine that built it:
//
//   magic "RLVERSN\0"          8 bytes
//   format version             u32 (VersionBlockFormat)
//   block size                 u32, checksum included; the linker may pad the section beyond it
//   file version MS, LS        u32 each
//   product version MS, LS     u32 each
//   string count               u32
//   count × (key length u16, key bytes, value length u16, value bytes), UTF-8
//   checksum                   u32, FNV-1a over every byte before it
//
// The writing half is constexpr so that the build can place a finished block in the program.

inline constexpr char VersionSectionName[] = ".runlatch_version";
inline constexpr std::array<std::uint8_t, 8> VersionBlockMagic{'R', 'L', 'V', 'E',
                                                               'R', 'S', 'N', 0};
inline constexpr std::uint32_t VersionBlockFormat = 1;
inline constexpr std::size_t VersionBlockHeaderSize = 8 + 4 * 7;
inline constexpr std::size_t VersionBlockChecksumSize = 4;

// One key/value pair of the string table (Comments, CompanyName, ... , ProductVersion).
struct VersionBlockEntry {
    std::string_view key;
    std::string_view value;
};

// What the build writes: four-part file and product versions and the string table.
struct VersionBlockSource {
    std::array<std::uint16_t, 4> fileVersion;
    std::array<std::uint16_t, 4> productVersion;
    std::span<const VersionBlockEntry> strings;
};

// What a reader gets back: the fixed part as pairs of 32-bit words, the most significant (MS) and
// the least significant (LS), each word a high and a low 16-bit number; and the string table.
struct VersionBlockValues {
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    QMap<QString, QString> strings;
};

// FNV-1a, 32 bits: cheap to compute at compile time and enough to tell a damaged block.
class VersionBlockChecksum {
public:
    constexpr void add(std::uint8_t byte) { m_value = (m_value ^ byte) * 16777619u; }
    [[nodiscard]] constexpr std::uint32_t value() const { return m_value; }

private:
    std::uint32_t m_value = 2166136261u;
};

[[nodiscard]] constexpr std::size_t versionBlockSize(const VersionBlockSource& source)
{
    std::size_t size = VersionBlockHeaderSize + VersionBlockChecksumSize;
    for (const VersionBlockEntry& entry : source.strings)
        size += 2 + entry.key.size() + 2 + entry.value.size();
    return size;
}

// Writes the block byte by byte to put(std::uint8_t). A text longer than its 16-bit length field
// throws, which in a constant expression stops the build.
template <typename Put>
constexpr void writeVersionBlock(const VersionBlockSource& source, Put&& put)
{
    VersionBlockChecksum checksum;
    const auto byte = [&](std::uint8_t value) {
        checksum.add(value);
        put(value);
    };
    const auto u16 = [&](std::size_t value) {
        if (value > 0xFFFF)
            throw std::length_error("version block text too long");
        byte(static_cast<std::uint8_t>(value & 0xFF));
        byte(static_cast<std::uint8_t>(value >> 8));
    };
    const auto u32 = [&](std::uint64_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            byte(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    };
    const auto text = [&](std::string_view value) {
        u16(value.size());
        for (const char c : value)
            byte(static_cast<std::uint8_t>(c));
    };
    const auto word = [](std::uint16_t high, std::uint16_t low) {
        return (std::uint32_t{high} << 16) | low;
    };

    for (const std::uint8_t m : VersionBlockMagic)
        byte(m);
    u32(VersionBlockFormat);
    u32(versionBlockSize(source));
    u32(word(source.fileVersion[0], source.fileVersion[1]));
    u32(word(source.fileVersion[2], source.fileVersion[3]));
    u32(word(source.productVersion[0], source.productVersion[1]));
    u32(word(source.productVersion[2], source.productVersion[3]));
    u32(source.strings.size());
    for (const VersionBlockEntry& entry : source.strings) {
        text(entry.key);
        text(entry.value);
    }
    const std::uint32_t sum = checksum.value();
    for (int shift = 0; shift < 32; shift += 8)
        put(static_cast<std::uint8_t>((sum >> shift) & 0xFF));
}

// The block as a fixed-size array, for a constant in the program's own section.
template <std::size_t Size>
[[nodiscard]] constexpr std::array<std::uint8_t, Size>
encodeVersionBlock(const VersionBlockSource& source)
{
    std::array<std::uint8_t, Size> bytes{};
    std::size_t at = 0;
    writeVersionBlock(source, [&](std::uint8_t value) { bytes.at(at++) = value; });
    if (at != Size)
        throw std::length_error("version block size mismatch");
    return bytes;
}

// Reads a block from the bytes of its section; nullopt when it is damaged in any way (wrong
// magic or format, a size or length that leaves the bytes, a checksum that does not match).
[[nodiscard]] std::optional<VersionBlockValues> decodeVersionBlock(QByteArrayView bytes);
