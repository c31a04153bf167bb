#include "VersionBlock.h"

#include <algorithm>

namespace {

// Reads little-endian fields front to back; any read past the end marks the cursor failed and
// yields zeros, so the decoder checks once at the end instead of after every field.
class Cursor {
public:
    explicit Cursor(QByteArrayView bytes)
        : m_bytes(bytes)
    {}

    [[nodiscard]] std::uint32_t u16() { return number(2); }
    [[nodiscard]] std::uint32_t u32() { return number(4); }

    [[nodiscard]] QByteArrayView take(qsizetype length)
    {
        if (m_failed || length > m_bytes.size() - m_at) {
            m_failed = true;
            return {};
        }
        const QByteArrayView part = m_bytes.sliced(m_at, length);
        m_at += length;
        return part;
    }

    [[nodiscard]] QString text() { return QString::fromUtf8(take(u16())); }
    void skip(qsizetype length) { (void)take(length); }

    [[nodiscard]] bool failed() const { return m_failed; }
    [[nodiscard]] qsizetype position() const { return m_at; }

private:
    std::uint32_t number(qsizetype width)
    {
        const QByteArrayView part = take(width);
        std::uint32_t value = 0;
        for (qsizetype i = part.size(); i-- > 0;)
            value = (value << 8) | static_cast<std::uint8_t>(part[i]);
        return value;
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_failed = false;
};

std::uint32_t checksumOf(QByteArrayView bytes)
{
    VersionBlockChecksum checksum;
    for (const char c : bytes)
        checksum.add(static_cast<std::uint8_t>(c));
    return checksum.value();
}

} // namespace

std::optional<VersionBlockValues> decodeVersionBlock(QByteArrayView bytes)
{
    Cursor header(bytes);
    const QByteArrayView magic = header.take(VersionBlockMagic.size());
    const std::uint32_t format = header.u32();
    const std::uint32_t size = header.u32();
    if (header.failed() || format != VersionBlockFormat ||
        !std::equal(magic.begin(), magic.end(), VersionBlockMagic.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }) ||
        size < VersionBlockHeaderSize + VersionBlockChecksumSize ||
        size > static_cast<std::size_t>(bytes.size()))
        return std::nullopt;

    // Everything after the declared size is the linker's padding and is not looked at.
    const auto checksumAt = static_cast<qsizetype>(size - VersionBlockChecksumSize);
    Cursor checksumField(bytes.sliced(checksumAt, VersionBlockChecksumSize));
    if (checksumField.u32() != checksumOf(bytes.first(checksumAt)))
        return std::nullopt;

    Cursor block(bytes.first(checksumAt));
    block.skip(header.position());
    VersionBlockValues values;
    values.fileVersionMS = block.u32();
    values.fileVersionLS = block.u32();
    values.productVersionMS = block.u32();
    values.productVersionLS = block.u32();
    const std::uint32_t count = block.u32();
    for (std::uint32_t i = 0; i < count && !block.failed(); ++i) {
        const QString key = block.text();
        values.strings.insert(key, block.text());
    }
    if (block.failed() || block.position() != checksumAt)
        return std::nullopt;
    return values;
}
