#include "ElfSection.h"

#include <QIODevice>

#include <cstdint>

namespace {

// Where the fields this reader needs sit in the file header and in one section header.
struct Layout {
    qint64 headerSize;
    int addressSize; // width of offsets and sizes: 4 or 8 bytes
    qint64 sectionTableOffset;
    qint64 sectionEntrySize;
    qint64 sectionCount;
    qint64 namesIndex;
    qint64 minEntrySize;
    qint64 entryName;
    qint64 entryType;
    qint64 entryOffset;
    qint64 entrySize;
    qint64 entryLink;
};

constexpr Layout Elf32{52, 4, 32, 46, 48, 50, 40, 0, 4, 16, 20, 24};
constexpr Layout Elf64{64, 8, 40, 58, 60, 62, 64, 0, 4, 24, 32, 40};

constexpr char ElfMagic[] = "\x7f"
                            "ELF";
constexpr qint64 IdentSize = 16;
constexpr int ClassAt = 4;
constexpr int DataAt = 5;
constexpr std::uint32_t NoBitsType = 8;         // SHT_NOBITS: the section takes no room in the file
constexpr std::uint64_t ExtendedIndex = 0xFFFF; // SHN_XINDEX: the real value is in entry 0
constexpr qint64 MaxSectionTableSize = 0x10000 * 64;
constexpr qint64 MaxNamesSize = 1 << 20;

// Raised inside the reader and turned into the Damaged outcome at its edge.
struct DamagedFile {};

// Integers of the file's byte order, from a header already read into memory.
class Fields {
public:
    Fields(QByteArrayView bytes, bool bigEndian)
        : m_bytes(bytes)
        , m_bigEndian(bigEndian)
    {}

    [[nodiscard]] std::uint64_t get(qint64 offset, int width) const
    {
        if (offset < 0 || offset > m_bytes.size() - width)
            throw DamagedFile();
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            const int index = m_bigEndian ? i : width - 1 - i;
            value = (value << 8) | static_cast<std::uint8_t>(m_bytes[offset + index]);
        }
        return value;
    }

private:
    QByteArrayView m_bytes;
    bool m_bigEndian;
};

class Reader {
public:
    Reader(QIODevice& file, std::string_view name)
        : m_file(file)
        , m_size(file.size())
        , m_name(name)
    {}

    ElfSection find()
    {
        if (!m_file.seek(0))
            throw DamagedFile();
        const QByteArray ident = m_file.read(IdentSize);
        if (!QByteArrayView(ident).startsWith(QByteArrayView(ElfMagic)))
            return {ElfSection::Outcome::NotElf, {}};
        if (ident.size() < IdentSize)
            throw DamagedFile();
        const Layout& layout = layoutOf(ident[ClassAt]);
        const bool bigEndian = bigEndianOf(ident[DataAt]);
        const QByteArray header =
            read(0, static_cast<std::uint64_t>(layout.headerSize), layout.headerSize);
        const Fields fields(header, bigEndian);

        const std::uint64_t tableOffset = fields.get(layout.sectionTableOffset, layout.addressSize);
        const std::uint64_t entrySize = fields.get(layout.sectionEntrySize, 2);
        std::uint64_t count = fields.get(layout.sectionCount, 2);
        std::uint64_t namesIndex = fields.get(layout.namesIndex, 2);
        if (tableOffset == 0)
            return {ElfSection::Outcome::Missing, {}};
        if (entrySize < static_cast<std::uint64_t>(layout.minEntrySize))
            throw DamagedFile();

        // Files with 0xFF00 sections or more keep their true count and name-table index in the
        // otherwise unused entry 0.
        if (count == 0 || namesIndex == ExtendedIndex) {
            const QByteArray first = read(tableOffset, entrySize, MaxSectionTableSize);
            const Fields entry(first, bigEndian);
            if (count == 0)
                count = entry.get(layout.entrySize, layout.addressSize);
            if (namesIndex == ExtendedIndex)
                namesIndex = entry.get(layout.entryLink, 4);
        }
        if (count == 0)
            return {ElfSection::Outcome::Missing, {}};
        if (count > static_cast<std::uint64_t>(MaxSectionTableSize) / entrySize ||
            namesIndex >= count)
            throw DamagedFile();

        const QByteArray table = read(tableOffset, count * entrySize, MaxSectionTableSize);
        const auto entry = [&](std::uint64_t index) {
            return Fields(QByteArrayView(table).sliced(static_cast<qsizetype>(index * entrySize),
                                                       static_cast<qsizetype>(entrySize)),
                          bigEndian);
        };
        const QByteArray names = contentsOf(entry(namesIndex), layout, MaxNamesSize);
        for (std::uint64_t index = 0; index < count; ++index) {
            const Fields section = entry(index);
            if (nameAt(names, section.get(layout.entryName, 4)) != m_name)
                continue;
            if (section.get(layout.entryType, 4) == NoBitsType)
                throw DamagedFile();
            return {ElfSection::Outcome::Found,
                    contentsOf(section, layout, ElfSection::MaxContentsSize)};
        }
        return {ElfSection::Outcome::Missing, {}};
    }

private:
    static const Layout& layoutOf(char elfClass)
    {
        switch (elfClass) {
        case 1:
            return Elf32;
        case 2:
            return Elf64;
        default:
            throw DamagedFile();
        }
    }

    static bool bigEndianOf(char data)
    {
        if (data != 1 && data != 2)
            throw DamagedFile();
        return data == 2;
    }

    // A name that does not end inside the table matches nothing.
    static std::string_view nameAt(const QByteArray& names, std::uint64_t offset)
    {
        if (offset >= static_cast<std::uint64_t>(names.size()))
            return {};
        const auto start = static_cast<qsizetype>(offset);
        const qsizetype end = names.indexOf('\0', start);
        if (end < 0)
            return {};
        return {names.constData() + start, static_cast<std::size_t>(end - start)};
    }

    QByteArray contentsOf(const Fields& section, const Layout& layout, qint64 limit)
    {
        return read(section.get(layout.entryOffset, layout.addressSize),
                    section.get(layout.entrySize, layout.addressSize), limit);
    }

    // Exactly length bytes from offset, or DamagedFile when they are not all in the file.
    QByteArray read(std::uint64_t offset, std::uint64_t length, qint64 limit)
    {
        const auto size = static_cast<std::uint64_t>(m_size);
        if (length > static_cast<std::uint64_t>(limit) || offset > size || length > size - offset)
            throw DamagedFile();
        if (!m_file.seek(static_cast<qint64>(offset)))
            throw DamagedFile();
        QByteArray bytes = m_file.read(static_cast<qint64>(length));
        if (static_cast<std::uint64_t>(bytes.size()) != length)
            throw DamagedFile();
        return bytes;
    }

    QIODevice& m_file;
    qint64 m_size;
    std::string_view m_name;
};

} // namespace

ElfSection ElfSection::find(QIODevice& file, std::string_view name)
{
    try {
        return Reader(file, name).find();
    } catch (const DamagedFile&) {
        return {Outcome::Damaged, {}};
    }
}
