#include "VersionTestFile.h"

#include "TestFiles.h"

namespace VersionTestFile {

QByteArray block(const std::array<std::uint16_t, 4>& fileVersion,
                 const std::array<std::uint16_t, 4>& productVersion,
                 std::initializer_list<VersionBlockEntry> strings)
{
    QByteArray bytes;
    const std::span<const VersionBlockEntry> table(strings.begin(), strings.size());
    writeVersionBlock({fileVersion, productVersion, table},
                      [&](std::uint8_t b) { bytes.append(static_cast<char>(b)); });
    return bytes;
}

QByteArray elf(const QByteArray& sectionName, const QByteArray& contents, Shape shape)
{
    const int word = shape.wide ? 8 : 4;
    const int headerSize = shape.wide ? 64 : 52;
    const int entrySize = shape.wide ? 64 : 40;
    const QByteArray names = QByteArray(1, '\0') + sectionName + '\0' + ".shstrtab" + '\0';
    const auto contentsAt = static_cast<std::uint64_t>(headerSize);
    const auto namesAt = contentsAt + static_cast<std::uint64_t>(contents.size());
    const auto tableAt = namesAt + static_cast<std::uint64_t>(names.size());

    QByteArray file("\x7f"
                    "ELF");
    file += static_cast<char>(shape.wide ? 2 : 1);
    file += static_cast<char>(shape.bigEndian ? 2 : 1);
    file += '\1';
    file += QByteArray(9, '\0');
    const auto put = [&](std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (shape.bigEndian ? width - 1 - i : i);
            file += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    put(1, 2);  // relocatable
    put(62, 2); // x86-64; the reader does not look
    put(1, 4);
    put(0, word); // entry
    put(0, word); // program headers
    put(tableAt, word);
    put(0, 4);
    put(static_cast<std::uint64_t>(headerSize), 2);
    put(0, 2);
    put(0, 2);
    put(static_cast<std::uint64_t>(entrySize), 2);
    put(3, 2); // sections: null, the named one, the name table
    put(2, 2); // index of the name table
    file += contents;
    file += names;

    const auto section = [&](std::uint64_t nameAt, std::uint64_t type, std::uint64_t offset,
                             std::uint64_t size) {
        put(nameAt, 4);
        put(type, 4);
        put(0, word); // flags
        put(0, word); // address
        put(offset, word);
        put(size, word);
        put(0, 4); // link
        put(0, 4); // info
        put(1, word);
        put(0, word);
    };
    section(0, 0, 0, 0);
    section(1, 1, contentsAt, static_cast<std::uint64_t>(contents.size()));
    section(static_cast<std::uint64_t>(sectionName.size()) + 2, 3, namesAt,
            static_cast<std::uint64_t>(names.size()));
    return file;
}

QByteArray program(const QByteArray& block)
{
    return elf(VersionSectionName, block);
}

bool write(const QString& path, const QByteArray& bytes)
{
    return writeBytes(path, bytes);
}

} // namespace VersionTestFile
