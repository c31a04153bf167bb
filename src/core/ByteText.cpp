#include "ByteText.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00;

[[nodiscard]] bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at bytes[at], or 0 when the byte there does not start
// one; overlong forms, surrogates and values above U+10FFFF do not count as valid.
[[nodiscard]] qsizetype sequenceLength(QByteArrayView bytes, qsizetype at, char32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    qsizetype length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if (!isContinuation(next))
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || surrogate || codePoint > 0x10FFFF)
        return 0;
    return length;
}

[[nodiscard]] bool isEscape(char16_t unit)
{
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF;
}

} // namespace

QString decodeBytes(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        char32_t codePoint = 0;
        if (byte < 0x80) {
            text.append(QChar(static_cast<char16_t>(byte)));
            ++at;
        } else if (const qsizetype length = sequenceLength(bytes, at, codePoint); length > 0) {
            text.append(QString::fromUcs4(&codePoint, 1));
            at += length;
        } else {
            text.append(QChar(static_cast<char16_t>(EscapeBase + byte)));
            ++at;
        }
    }
    return text;
}

QByteArray encodeText(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype to) {
        bytes.append(text.sliced(plainFrom, to - plainFrom).toUtf8());
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        // An escape is a low surrogate standing alone: one that follows a high surrogate is half
        // of a real character.
        const bool paired = i > 0 && QChar::isHighSurrogate(text[i - 1].unicode());
        if (isEscape(unit) && !paired) {
            flushPlain(i);
            bytes.append(static_cast<char>(unit - EscapeBase));
            plainFrom = i + 1;
        }
    }
    flushPlain(text.size());
    return bytes;
}
