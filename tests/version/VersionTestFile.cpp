#include "VersionTestFile.h"

#include "TestFiles.h"

#include <QList>
#include <QString>

namespace VersionTestFile {

namespace {

void append(QByteArray& bytes, std::uint64_t value, int width, bool bigEndian = false)
{
    for (int i = 0; i < width; ++i) {
        const int shift = 8 * (bigEndian ? width - 1 - i : i);
        bytes += static_cast<char>((value >> shift) & 0xFF);
    }
}

void overwrite(QByteArray& bytes, qsizetype at, std::uint64_t value, int width)
{
    QByteArray number;
    append(number, value, width);
    bytes.replace(at, width, number);
}

void padTo(QByteArray& bytes, qsizetype size)
{
    bytes += QByteArray(size - bytes.size(), '\0');
}

std::uint32_t roundUp(std::uint32_t value, std::uint32_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// PE32+ layout. The PE header follows the DOS header at once: a DOS stub program is optional.
constexpr std::uint32_t PeHeaderAt = 64;
constexpr std::uint32_t CoffHeaderSize = 20;
constexpr std::uint32_t OptionalHeaderSize = 240;
constexpr std::uint32_t SectionHeaderSize = 40;
constexpr int DataDirectoryCount = 16;
constexpr int ResourceDataDirectory = 2;
constexpr std::uint32_t FileAlignment = 0x200;
constexpr std::uint32_t SectionAlignment = 0x1000;
// The first page holds the headers, so the one section starts on the second.
constexpr std::uint32_t ResourceSectionRva = SectionAlignment;

// The resource tree of one resource: directories of type, name and language, one entry each,
// then the data entry and the data. An entry's offset with the high bit set leads to another
// directory; without it, to a data entry. Offsets count from the section's start, but the data
// entry gives the data's address as an RVA.
QByteArray resourceTree(const Resource& resource)
{
    constexpr std::uint32_t DirectorySize = 16 + 8;
    constexpr std::uint32_t DataEntrySize = 16;
    constexpr std::uint32_t Subdirectory = 0x80000000;
    constexpr std::uint32_t DataAt = 3 * DirectorySize + DataEntrySize;
    QByteArray tree;
    const auto directory = [&](std::uint32_t id, std::uint32_t entryOffset) {
        append(tree, 0, 4); // characteristics
        append(tree, 0, 4); // time stamp
        append(tree, 0, 4); // major and minor version
        append(tree, 0, 2); // entries named by a string
        append(tree, 1, 2); // entries named by a number
        append(tree, id, 4);
        append(tree, entryOffset, 4);
    };
    directory(resource.type, Subdirectory | DirectorySize);
    directory(1, Subdirectory | 2 * DirectorySize);
    directory(0x0409, 3 * DirectorySize);
    append(tree, ResourceSectionRva + DataAt, 4);
    append(tree, static_cast<std::uint64_t>(resource.data.size()), 4);
    append(tree, 0, 4); // code page
    append(tree, 0, 4); // reserved
    tree += resource.data;
    return tree;
}

// VS_VERSIONINFO layout.
constexpr std::uint32_t FixedInfoSignature = 0xFEEF04BD;
// The root's header (three 16-bit words) and its key "VS_VERSION_INFO" with the terminating zero,
// rounded up to the 32-bit boundary where its value, the fixed part, starts.
constexpr qsizetype FixedInfoAt = 40;

void appendUtf16(QByteArray& bytes, const QString& text)
{
    for (const QChar c : text)
        append(bytes, c.unicode(), 2);
    append(bytes, 0, 2);
}

void alignTo32Bits(QByteArray& bytes)
{
    padTo(bytes, (bytes.size() + 3) & ~qsizetype{3});
}

// One node: wLength, wValueLength (UTF-16 units for text, bytes otherwise), wType, the key, then
// the value and each child on a 32-bit boundary. Every node starts on one, so a boundary within
// the node is one within the resource.
QByteArray versionNode(const QString& key, std::uint16_t valueLength, bool text,
                       const QByteArray& value, const QList<QByteArray>& children = {})
{
    QByteArray node(6, '\0');
    appendUtf16(node, key);
    alignTo32Bits(node);
    node += value;
    for (const QByteArray& child : children) {
        alignTo32Bits(node);
        node += child;
    }
    if (node.size() > 0xFFFF)
        qFatal("version resource node %s too long", qPrintable(key));
    overwrite(node, 0, static_cast<std::uint64_t>(node.size()), 2);
    overwrite(node, 2, valueLength, 2);
    overwrite(node, 4, text ? 1 : 0, 2);
    return node;
}

// An empty text keeps its terminating zero, as resource compilers write it.
QByteArray stringNode(const QString& key, const QString& value)
{
    QByteArray text;
    appendUtf16(text, value);
    return versionNode(key, static_cast<std::uint16_t>(value.size() + 1), true, text);
}

} // namespace

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
        append(file, value, width, shape.bigEndian);
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

QByteArray pe(const std::optional<Resource>& resource)
{
    const QByteArray section = resource ? resourceTree(*resource) : QByteArray();
    const std::uint32_t sections = resource ? 1 : 0;
    const std::uint32_t headersSize =
        roundUp(PeHeaderAt + 4 + CoffHeaderSize + OptionalHeaderSize + sections * SectionHeaderSize,
                FileAlignment);
    const auto sectionSize = static_cast<std::uint32_t>(section.size());
    const std::uint32_t rawSize = roundUp(sectionSize, FileAlignment);

    QByteArray file("MZ");
    padTo(file, 0x3C);
    append(file, PeHeaderAt, 4); // e_lfanew
    file += QByteArray("PE\0\0", 4);

    append(file, 0x8664, 2); // x86-64
    append(file, sections, 2);
    append(file, 0, 4); // time stamp
    append(file, 0, 4); // symbol table
    append(file, 0, 4); // symbols
    append(file, OptionalHeaderSize, 2);
    append(file, 0x0022, 2); // executable image, large address aware

    append(file, 0x20B, 2); // PE32+
    append(file, 0, 2);     // linker version
    append(file, 0, 4);     // size of code
    append(file, rawSize, 4);
    append(file, 0, 4); // size of uninitialized data
    append(file, 0, 4); // entry point: the file is only ever read, never run
    append(file, 0, 4); // base of code
    append(file, 0x140000000, 8);
    append(file, SectionAlignment, 4);
    append(file, FileAlignment, 4);
    append(file, 6, 4); // operating system version 6.0
    append(file, 0, 4); // image version
    append(file, 6, 4); // subsystem version 6.0
    append(file, 0, 4); // Win32VersionValue
    append(file, ResourceSectionRva + roundUp(sectionSize, SectionAlignment), 4);
    append(file, headersSize, 4);
    append(file, 0, 4); // checksum
    append(file, 2, 2); // Windows GUI
    append(file, 0, 2); // DLL characteristics
    // Stack and heap, reserved and committed.
    for (const std::uint64_t size : {0x100000u, 0x1000u, 0x100000u, 0x1000u})
        append(file, size, 8);
    append(file, 0, 4); // loader flags
    append(file, DataDirectoryCount, 4);
    for (int index = 0; index < DataDirectoryCount; ++index) {
        const bool resources = resource && index == ResourceDataDirectory;
        append(file, resources ? ResourceSectionRva : 0, 4);
        append(file, resources ? sectionSize : 0, 4);
    }

    if (resource) {
        file += QByteArray(".rsrc\0\0\0", 8);
        append(file, sectionSize, 4);
        append(file, ResourceSectionRva, 4);
        append(file, rawSize, 4);
        append(file, headersSize, 4);
        append(file, 0, 4);          // relocations
        append(file, 0, 4);          // line numbers
        append(file, 0, 2);          // relocation count
        append(file, 0, 2);          // line number count
        append(file, 0x40000040, 4); // initialized data, readable
    }
    padTo(file, headersSize);
    file += section;
    padTo(file, qsizetype{headersSize} + rawSize);
    return file;
}

QByteArray versionResource(const VersionBlockValues& values)
{
    QByteArray fixed;
    for (const std::uint32_t word :
         {FixedInfoSignature, 0x00010000u, values.fileVersionMS, values.fileVersionLS,
          values.productVersionMS, values.productVersionLS,
          0x3Fu,       // flags mask
          0u,          // flags
          0x00040004u, // VOS_NT_WINDOWS32
          1u,          // VFT_APP
          0u, 0u, 0u}) // subtype, date
        append(fixed, word, 4);

    QList<QByteArray> strings;
    for (auto entry = values.strings.cbegin(); entry != values.strings.cend(); ++entry)
        strings << stringNode(entry.key(), entry.value());
    QByteArray translation;
    append(translation, 0x0409, 2); // US English
    append(translation, 0x04B0, 2); // UTF-16
    const QByteArray stringFileInfo =
        versionNode(QStringLiteral("StringFileInfo"), 0, true, {},
                    {versionNode(QStringLiteral("040904B0"), 0, true, {}, strings)});
    const QByteArray varFileInfo =
        versionNode(QStringLiteral("VarFileInfo"), 0, true, {},
                    {versionNode(QStringLiteral("Translation"), 4, false, translation)});
    return versionNode(QStringLiteral("VS_VERSION_INFO"), static_cast<std::uint16_t>(fixed.size()),
                       false, fixed, {stringFileInfo, varFileInfo});
}

QByteArray damagedVersionResource()
{
    QByteArray bytes = versionResource({});
    overwrite(bytes, FixedInfoAt, 0, 4);
    return bytes;
}

QByteArray program(const QByteArray& block)
{
#ifdef Q_OS_WIN
    const std::optional<VersionBlockValues> values = decodeVersionBlock(block);
    return pe(
        Resource{ResourceVersion, values ? versionResource(*values) : damagedVersionResource()});
#else
    return elf(VersionSectionName, block);
#endif
}

QByteArray unversionedProgram(const QByteArray& contents)
{
#ifdef Q_OS_WIN
    return pe(Resource{ResourceRcData, contents});
#else
    return elf(".text", contents);
#endif
}

bool write(const QString& path, const QByteArray& bytes)
{
    return writeBytes(path, bytes);
}

} // namespace VersionTestFile
