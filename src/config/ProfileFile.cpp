#include "ProfileFile.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr QByteArrayView LineEnd("\r\n");

[[nodiscard]] char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

[[nodiscard]] qsizetype firstNonBlank(QByteArrayView text)
{
    return std::find_if_not(text.begin(), text.end(), ProfileFile::isBlank) - text.begin();
}

[[nodiscard]] QByteArray keyLine(QByteArrayView key, QByteArrayView value)
{
    QByteArray line;
    line.reserve(key.size() + value.size() + 3);
    return line.append(key).append('=').append(value).append(LineEnd);
}

// A key line's trimmed key and its value as it stands after the "=".
struct KeyText {
    QByteArrayView key;
    QByteArrayView rawValue;
};

[[nodiscard]] std::optional<KeyText> keyTextOf(QByteArrayView content)
{
    const qsizetype first = firstNonBlank(content);
    if (first == content.size() || content[first] == ';')
        return std::nullopt;
    const qsizetype equals = content.indexOf('=', first);
    if (equals < 0)
        return std::nullopt;
    return KeyText{ProfileFile::trimmed(content.sliced(first, equals - first)),
                   content.sliced(equals + 1)};
}

// Cuts a text into lines. It remembers where the next LF and the next CR stand, so that a file
// whose lines all end the other way is still read in one pass.
class LineSplitter {
public:
    LineSplitter(QByteArrayView text, qsizetype from)
        : m_text(text)
        , m_pos(from)
    {}

    [[nodiscard]] bool atEnd() const { return m_pos == m_text.size(); }

    // The next line with its end, and the length of that end.
    std::pair<QByteArrayView, std::uint8_t> next()
    {
        if (m_feed < m_pos)
            m_feed = find('\n');
        if (m_return < m_pos)
            m_return = find('\r');
        const qsizetype contentEnd = std::min(m_feed, m_return);
        std::uint8_t endLength = 0;
        if (contentEnd < m_text.size()) {
            const bool crLf = m_text.sliced(contentEnd).startsWith(LineEnd);
            endLength = crLf ? 2 : 1;
        }
        const QByteArrayView line = m_text.sliced(m_pos, contentEnd + endLength - m_pos);
        m_pos += line.size();
        return {line, endLength};
    }

private:
    [[nodiscard]] qsizetype find(char c) const
    {
        const qsizetype at = m_text.indexOf(c, m_pos);
        return at < 0 ? m_text.size() : at;
    }

    QByteArrayView m_text;
    qsizetype m_pos;
    qsizetype m_feed = -1;
    qsizetype m_return = -1;
};

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

// The quotes stay within the longest value a lookup returns, so that the text in the file reads
// back whole also for a reader that cuts a value before it takes the quotes off: it would keep
// the opening quote and lose the closing one.
QByteArray ProfileFile::protectedValue(QByteArrayView value)
{
    if (unquoted(trimmed(value)) == value || value.size() + 2 > MaxValueLength)
        return value.toByteArray();
    QByteArray text;
    text.reserve(value.size() + 2);
    return text.append('"').append(value).append('"');
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
    : m_original(std::move(bytes))
{
    const QByteArrayView text(m_original);
    qsizetype from = 0;
    if (text.startsWith(ByteOrderMark)) {
        m_byteOrderMark = text.first(ByteOrderMark.size());
        from = ByteOrderMark.size();
    }
    m_sections.emplace_back();
    for (LineSplitter lines(text, from); !lines.atEnd();) {
        const auto [lineText, endLength] = lines.next();
        const Line line = classify(lineText, endLength);
        if (line.kind == LineKind::Header) {
            Section section;
            section.first = std::ssize(m_lines);
            addSection(std::move(section), line);
        }
        m_lines.push_back(line);
        ++m_sections.back().count;
    }
}

QByteArray ProfileFile::bytes() const
{
    qsizetype size = m_byteOrderMark.size();
    for (const Section& section : m_sections)
        for (const Line& line : linesOf(section))
            size += line.text.size();
    QByteArray result;
    result.reserve(size);
    result.append(m_byteOrderMark);
    for (const Section& section : m_sections)
        for (const Line& line : linesOf(section))
            result.append(line.text);
    return result;
}

QByteArray ProfileFile::lookup(QByteArrayView section, QByteArrayView key,
                               QByteArrayView defaultText) const
{
    QByteArrayView result = defaultText;
    if (const qsizetype found = findSection(section); found >= 0) {
        const auto lines = linesOf(m_sections[static_cast<std::size_t>(found)]);
        if (const qsizetype line = findKey(lines, key); line >= 0)
            result = unquoted(
                trimmed(keyTextOf(lines[static_cast<std::size_t>(line)].content())->rawValue));
    }
    return result.first(std::min(result.size(), MaxValueLength)).toByteArray();
}

bool ProfileFile::hasSection(QByteArrayView section) const
{
    return findSection(section) >= 0;
}

void ProfileFile::setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    const qsizetype found = findSection(section);
    Line written;
    if (found < 0) {
        endLastLine();
        QByteArray headerText;
        headerText.append('[').append(section).append(']').append(LineEnd);
        const Line header = ownLine(std::move(headerText));
        written = ownLine(keyLine(key, value));
        Section added;
        added.edited = true;
        added.lines = {header, written};
        addSection(std::move(added), header);
    } else {
        std::vector<Line>& lines = editableLines(m_sections[static_cast<std::size_t>(found)]);
        const qsizetype existing = findKey(lines, key);
        if (existing >= 0) {
            Line& line = lines[static_cast<std::size_t>(existing)];
            written = ownLine(keyLine(keyTextOf(line.content())->key, value));
            line = written;
        } else {
            const qsizetype last = lastNonBlank(lines);
            endLine(lines[static_cast<std::size_t>(last)]);
            written = ownLine(keyLine(key, value));
            lines.insert(lines.begin() + last + 1, written);
        }
    }
    // A key that starts with "[" has made a header of its line: the sections must be found
    // again, as a later reading of the file will find them.
    if (written.kind == LineKind::Header)
        *this = ProfileFile(bytes());
}

bool ProfileFile::eraseSection(QByteArrayView section)
{
    const auto found = m_index.constFind(Name{trimmed(section)});
    if (found == m_index.cend())
        return false;
    for (qsizetype index = *found; index >= 0;) {
        Section& erased = m_sections[static_cast<std::size_t>(index)];
        erased.edited = true;
        erased.lines = {};
        index = erased.nextOfName;
    }
    m_index.erase(found);
    return true;
}

// FNV-1a over the folded bytes: no folded copy of the name is made.
std::size_t ProfileFile::Name::hash(std::size_t seed) const
{
    std::size_t hash = seed ^ 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(asciiLower(c));
        hash *= 1099511628211ULL;
    }
    return hash;
}

ProfileFile::Line ProfileFile::classify(QByteArrayView text, std::uint8_t endLength)
{
    Line line{text, endLength, LineKind::Text};
    const QByteArrayView content = line.content();
    const qsizetype first = firstNonBlank(content);
    if (first == content.size())
        line.kind = LineKind::Blank;
    else if (content[first] == '[')
        line.kind = LineKind::Header;
    return line;
}

ProfileFile::Name ProfileFile::nameOf(const Line& header)
{
    const QByteArrayView content = header.content();
    const QByteArrayView name = content.sliced(firstNonBlank(content) + 1);
    const qsizetype bracket = name.indexOf(']');
    return Name{trimmed(bracket < 0 ? name : name.first(bracket))};
}

std::span<const ProfileFile::Line> ProfileFile::linesOf(const Section& section) const
{
    if (section.edited)
        return section.lines;
    return std::span(m_lines).subspan(static_cast<std::size_t>(section.first),
                                      static_cast<std::size_t>(section.count));
}

std::vector<ProfileFile::Line>& ProfileFile::editableLines(Section& section)
{
    if (!section.edited) {
        const auto lines = linesOf(section);
        section.lines.assign(lines.begin(), lines.end());
        section.edited = true;
    }
    return section.lines;
}

qsizetype ProfileFile::findSection(QByteArrayView section) const
{
    return m_index.value(Name{trimmed(section)}, -1);
}

qsizetype ProfileFile::findKey(std::span<const Line> lines, QByteArrayView key)
{
    const QByteArrayView wanted = trimmed(key);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Text)
            continue;
        const auto text = keyTextOf(lines[i].content());
        if (text && sameName(text->key, wanted))
            return static_cast<qsizetype>(i);
    }
    return -1;
}

qsizetype ProfileFile::lastNonBlank(std::span<const Line> lines)
{
    qsizetype i = std::ssize(lines) - 1;
    while (i > 0 && lines[static_cast<std::size_t>(i)].kind == LineKind::Blank)
        --i;
    return i;
}

// Later sections of a name are chained to the first one, so that an erase finds them all.
void ProfileFile::addSection(Section section, const Line& header)
{
    const qsizetype index = std::ssize(m_sections);
    const Name name = nameOf(header);
    if (const auto first = m_index.constFind(name); first != m_index.cend()) {
        Section& firstSection = m_sections[static_cast<std::size_t>(*first)];
        section.nextOfName = std::exchange(firstSection.nextOfName, index);
    } else {
        m_index.insert(name, index);
    }
    m_sections.push_back(std::move(section));
}

ProfileFile::Line ProfileFile::ownLine(QByteArray text)
{
    m_written.push_back(std::move(text));
    return classify(m_written.back(), static_cast<std::uint8_t>(LineEnd.size()));
}

void ProfileFile::endLine(Line& line)
{
    if (line.endLength == 0)
        line = ownLine(line.text.toByteArray().append(LineEnd));
}

// Only the file's last line can lack its end.
void ProfileFile::endLastLine()
{
    for (auto section = m_sections.rbegin(); section != m_sections.rend(); ++section) {
        const auto lines = linesOf(*section);
        if (lines.empty())
            continue;
        if (lines.back().endLength == 0)
            endLine(editableLines(*section).back());
        return;
    }
}
