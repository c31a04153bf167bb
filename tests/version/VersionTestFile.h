#pragma once

#include "VersionBlock.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

// Files for version reader tests: a version block as the build writes it, a minimal ELF file
// (header, one named section, the section name table, the section header table) that carries it,
// and a minimal PE32+ file whose resource section carries a Windows version resource.
//
// program() makes the file of the kind the reader of this platform reads, so that one test states
// what a file holds and runs on both: on Linux the block in its ELF section, on Windows the same
// values in a version resource.
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

// Resource types of a PE file's resource tree.
inline constexpr std::uint16_t ResourceRcData = 10;
inline constexpr std::uint16_t ResourceVersion = 16;

// One resource, named 1 in US English, as a resource compiler gives a program's version.
struct Resource {
    std::uint16_t type = ResourceVersion;
    QByteArray data;
};

// A PE32+ (x86-64) program file; with a resource, its one section ".rsrc" holds the resource
// tree, without one the file has no sections.
[[nodiscard]] QByteArray pe(const std::optional<Resource>& resource);

// A VS_VERSIONINFO tree of the values: the fixed part, the string table "040904B0" in the
// values' key order, and the translation list naming that table.
[[nodiscard]] QByteArray versionResource(const VersionBlockValues& values);

// The version resource of the values with the fixed part's signature wiped: what a damaged
// resource looks like to the reader, whatever the loader makes of the rest.
[[nodiscard]] QByteArray damagedVersionResource();

// A program file of this platform's kind whose version is the block. On Windows the block is
// decoded and its values go into the program's version resource; a block that does not decode
// stands for damaged version information and gives damagedVersionResource().
[[nodiscard]] QByteArray program(const QByteArray& block);

// A program file of this platform's kind that holds the contents where no version is looked for:
// an ELF section ".text", a PE resource of type RT_RCDATA.
[[nodiscard]] QByteArray unversionedProgram(const QByteArray& contents);

// Writes bytes to a file; false when that fails.
[[nodiscard]] bool write(const QString& path, const QByteArray& bytes);

} // namespace VersionTestFile
