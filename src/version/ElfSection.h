#pragma once

#include <QByteArray>

#include <string_view>

class QIODevice;

// The contents of one named section of an ELF file (32 or 64 bits, either byte order), found
// through the section header table. Every offset and size the file states is checked against the
// file's real size before it is used, so a damaged or hostile file gives Damaged, never a crash
// or a huge allocation.
struct ElfSection {
    enum class Outcome {
        Found,
        NotElf,  // no ELF magic at the start
        Missing, // an ELF file without a section of that name
        Damaged, // an ELF file whose headers or section cannot be read
    };

    Outcome outcome = Outcome::NotElf;
    QByteArray contents; // set when Found

    // Sections larger than this are taken as damage: the version block is a few hundred bytes.
    static constexpr qint64 MaxContentsSize = 1 << 20;

    [[nodiscard]] static ElfSection find(QIODevice& file, std::string_view name);
};
