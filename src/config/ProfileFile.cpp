#include "ProfileFile.h"

#include <algorithm>
#include <utility>

namespace {

constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");
constexpr QByteArrayView LineEnd("\r\n");

[[nodiscard]] char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

[[nodiscard]] QByteArray keyLine(QByteArrayView key, QByteArrayView value)
{
    QByteArray line;
    line.reserve(key.size() + value.size() + 3);
    return line.append(key).append('=').append(value).append(LineEnd);
}

} // namespace

QByteArrayView ProfileFile::trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

QByteArrayView ProfileFile::unquoted(QByteArrayView text)
{
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        return text.sliced(1, text.size() - 2);
    return text;
}

bool ProfileFile::sameName(QByteArrayView a, QByteArrayView b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

bool ProfileFile::fitsOnOneLine(QByteArrayView text)
{
    return !text.contains('\r') && !text.contains('\n') && !text.contains('\0');
}

ProfileFile::ProfileFile(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
    parse();
}

QByteArray ProfileFile::lookup(QByteArrayView section, QByteArrayView key,
                               QByteArrayView defaultText) const
{
    QByteArrayView result = defaultText;
    const SectionRange range = findSection(section);
    if (range.header >= 0) {
        const qsizetype line = findKey(range, key);
        if (line >= 0)
            result = value(m_lines[static_cast<std::size_t>(line)]);
    }
    return result.first(std::min(result.size(), MaxValueLength)).toByteArray();
}

bool ProfileFile::hasSection(QByteArrayView section) const
{
    return findSection(section).header >= 0;
}

void ProfileFile::setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    const SectionRange range = findSection(section);
    if (range.header < 0) {
        QByteArray header;
        header.append('[').append(section).append(']').append(LineEnd);
        insertLines(m_bytes.size(), header + keyLine(key, value));
    } else if (const qsizetype found = findKey(range, key); found >= 0) {
        const Line& line = m_lines[static_cast<std::size_t>(found)];
        replaceBytes(line.start, line.end, keyLine(trimmed(name(line)), value));
    } else {
        const Line& last = m_lines[static_cast<std::size_t>(lastNonBlank(range))];
        insertLines(last.end, keyLine(key, value));
    }
    parse();
}

bool ProfileFile::eraseSection(QByteArrayView section)
{
    const SectionRange range = findSection(section);
    if (range.header < 0)
        return false;
    const qsizetype from = m_lines[static_cast<std::size_t>(range.header)].start;
    const qsizetype to = range.end < std::ssize(m_lines)
                             ? m_lines[static_cast<std::size_t>(range.end)].start
                             : m_bytes.size();
    replaceBytes(from, to, {});
    parse();
    return true;
}

void ProfileFile::parse()
{
    m_lines.clear();
    m_lines.reserve(static_cast<std::size_t>(m_bytes.count('\n')) + 1);
    const qsizetype size = m_bytes.size();
    qsizetype start = bodyStart();
    while (start < size) {
        const qsizetype feed = m_bytes.indexOf('\n', start);
        const qsizetype end = feed < 0 ? size : feed + 1;
        qsizetype contentEnd = feed < 0 ? size : feed;
        if (feed > start && m_bytes.at(feed - 1) == '\r')
            --contentEnd;
        m_lines.push_back(classify(start, contentEnd, end));
        start = end;
    }
}

ProfileFile::Line ProfileFile::classify(qsizetype start, qsizetype contentEnd, qsizetype end) const
{
    Line line{start, contentEnd, end, LineKind::Other, 0, 0};
    const char* const data = m_bytes.constData();
    const char* const first =
        std::find_if_not(data + start, data + contentEnd, ProfileFile::isBlank);
    const char* const last = data + contentEnd;
    if (first == last) {
        line.kind = LineKind::Blank;
    } else if (*first == '[') {
        line.kind = LineKind::Header;
        line.nameStart = first + 1 - data;
        line.nameEnd = std::find(first + 1, last, ']') - data;
    } else if (*first != ';') {
        const char* const equals = std::find(first, last, '=');
        if (equals != last) {
            line.kind = LineKind::Key;
            line.nameStart = first - data;
            line.nameEnd = equals - data;
        }
    }
    return line;
}

QByteArrayView ProfileFile::view(qsizetype from, qsizetype to) const
{
    return QByteArrayView(m_bytes).sliced(from, to - from);
}

QByteArrayView ProfileFile::name(const Line& line) const
{
    return view(line.nameStart, line.nameEnd);
}

QByteArrayView ProfileFile::value(const Line& line) const
{
    return unquoted(trimmed(view(line.nameEnd + 1, line.contentEnd)));
}

ProfileFile::SectionRange ProfileFile::findSection(QByteArrayView section) const
{
    const QByteArrayView wanted = trimmed(section);
    const qsizetype count = std::ssize(m_lines);
    SectionRange range{-1, count};
    for (qsizetype i = 0; i < count; ++i) {
        const Line& line = m_lines[static_cast<std::size_t>(i)];
        if (line.kind != LineKind::Header)
            continue;
        if (range.header >= 0) {
            range.end = i;
            break;
        }
        if (sameName(trimmed(name(line)), wanted))
            range.header = i;
    }
    return range;
}

qsizetype ProfileFile::findKey(const SectionRange& range, QByteArrayView key) const
{
    const QByteArrayView wanted = trimmed(key);
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const Line& line = m_lines[static_cast<std::size_t>(i)];
        if (line.kind == LineKind::Key && sameName(trimmed(name(line)), wanted))
            return i;
    }
    return -1;
}

qsizetype ProfileFile::lastNonBlank(const SectionRange& range) const
{
    qsizetype i = range.end - 1;
    while (i > range.header && m_lines[static_cast<std::size_t>(i)].kind == LineKind::Blank)
        --i;
    return i;
}

qsizetype ProfileFile::bodyStart() const
{
    return m_bytes.startsWith(ByteOrderMark) ? ByteOrderMark.size() : 0;
}

void ProfileFile::insertLines(qsizetype offset, const QByteArray& text)
{
    const bool needsLineEnd = offset > bodyStart() && m_bytes.at(offset - 1) != '\n';
    replaceBytes(offset, offset, needsLineEnd ? LineEnd.toByteArray() + text : text);
}

void ProfileFile::replaceBytes(qsizetype from, qsizetype to, const QByteArray& text)
{
    m_bytes.replace(from, to - from, text);
}
