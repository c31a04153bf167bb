#pragma once

#include "VersionBlock.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <initializer_list>

// Files for version reader tests: a version block as the build writes it, and a minimal ELF file
// (header, one named section, the section name table, the section header table) that carries it.
namespace VersionTestFile {

struct Shape {
    bool wide = true;       // ELF64; false for ELF32
    bool bigEndian = false; // the file's byte order; the block itself is always little-endian
};

[[nodiscard]] QByteArray block(const std::array<std::uint16_t, 4>& fileVersion,
                               const std::array<std::uint16_t, 4>& productVersion,
                               std::initializer_list<VersionBlockEntry> strings);

[[nodiscard]] QByteArray elf(const QByteArray& sectionName, const QByteArray& contents,
                             Shape shape = {});

// An ELF64 file whose version section holds the block.
[[nodiscard]] QByteArray program(const QByteArray& block);

// Writes bytes to a file; false when that fails.
[[nodiscard]] bool write(const QString& path, const QByteArray& bytes);

} // namespace VersionTestFile
