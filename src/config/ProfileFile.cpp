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
    explicit LineSplitter(QByteArrayView text)
        : m_text(text)
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
    qsizetype m_pos = 0;
    qsizetype m_feed = -1;
    qsizetype m_return = -1;
};

[[nodiscard]] bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// Where a header line starts and where its "[" stands.
struct HeaderAt {
    qsizetype lineStart;
    qsizetype bracket;
};

// The first header whose "[" stands at or after from; both at the text's end when there is none.
// A header's "[" is the first non-blank of its line, so only the bytes before each "[" back to a
// non-blank or a line break need a look, and the lines in between are never split. That look
// stops at the latest at the "[" of the header before, so from may lie inside that header's line.
[[nodiscard]] HeaderAt nextHeader(QByteArrayView text, qsizetype from)
{
    for (qsizetype bracket = text.indexOf('[', from); bracket >= 0;
         bracket = text.indexOf('[', bracket + 1)) {
        qsizetype start = bracket;
        while (start > 0 && !isLineBreak(text[start - 1]) && ProfileFile::isBlank(text[start - 1]))
            --start;
        if (start == 0 || isLineBreak(text[start - 1]))
            return {start, bracket};
    }
    return {text.size(), text.size()};
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
    QByteArrayView text(m_original);
    if (text.startsWith(ByteOrderMark)) {
        m_byteOrderMark = text.first(ByteOrderMark.size());
        text = text.sliced(ByteOrderMark.size());
    }
    // Room for a section every 256 bytes: the vector then does not move as a large file's
    // sections are laid down, and only the room they take is ever touched.
    m_sections.reserve(static_cast<std::size_t>(text.size() / 256 + 1));
    HeaderAt header = nextHeader(text, 0);
    m_sections.emplace_back(text.first(header.lineStart));
    while (header.lineStart < text.size()) {
        const HeaderAt next = nextHeader(text, header.bracket + 1);
        m_sections.emplace_back(text.sliced(header.lineStart, next.lineStart - header.lineStart),
                                nameOf(text.sliced(header.lineStart)));
        header = next;
    }
}

template <typename Visit>
void ProfileFile::forEachPiece(Visit visit) const
{
    visit(m_byteOrderMark);
    for (const Section& section : m_sections) {
        if (!section.edited)
            visit(section.text);
        else
            for (const Line& line : section.lines)
                visit(line.text);
    }
}

QByteArray ProfileFile::bytes() const
{
    qsizetype size = 0;
    forEachPiece([&size](QByteArrayView piece) { size += piece.size(); });
    QByteArray result;
    result.reserve(size);
    forEachPiece([&result](QByteArrayView piece) { result.append(piece); });
    return result;
}

QByteArray ProfileFile::lookup(QByteArrayView section, QByteArrayView key,
                               QByteArrayView defaultText) const
{
    QByteArrayView result = defaultText;
    if (const qsizetype found = findSection(section); found >= 0) {
        const auto& lines = linesOf(m_sections[static_cast<std::size_t>(found)]);
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
        Section added({}, nameOf(header.text));
        added.edited = true;
        added.lines = {header, written};
        m_sections.push_back(std::move(added));
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
    const Name name(trimmed(section));
    bool erased = false;
    for (auto erasing = std::next(m_sections.begin()); erasing != m_sections.end(); ++erasing) {
        if (erasing->isErased() || !(erasing->name == name))
            continue;
        erasing->edited = true;
        erasing->lines = {};
        erased = true;
    }
    m_found.remove(name);
    return erased;
}

// FNV-1a over the folded bytes: no folded copy of the name is made.
ProfileFile::Name::Name(QByteArrayView name)
    : text(name)
    , hash(14695981039346656037ULL)
{
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(asciiLower(c));
        hash *= 1099511628211ULL;
    }
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

ProfileFile::Name ProfileFile::nameOf(QByteArrayView text)
{
    const QByteArrayView rest = text.sliced(firstNonBlank(text) + 1);
    const auto end =
        std::find_if(rest.begin(), rest.end(), [](char c) { return c == ']' || isLineBreak(c); });
    return Name(trimmed(rest.first(end - rest.begin())));
}

std::vector<ProfileFile::Line> ProfileFile::splitLines(QByteArrayView text)
{
    std::vector<Line> lines;
    for (LineSplitter splitter(text); !splitter.atEnd();) {
        const auto [line, endLength] = splitter.next();
        lines.push_back(classify(line, endLength));
    }
    return lines;
}

const std::vector<ProfileFile::Line>& ProfileFile::linesOf(const Section& section)
{
    if (!section.edited && section.lines.empty())
        section.lines = splitLines(section.text);
    return section.lines;
}

std::vector<ProfileFile::Line>& ProfileFile::editableLines(Section& section)
{
    static_cast<void>(linesOf(section));
    section.edited = true;
    return section.lines;
}

qsizetype ProfileFile::findSection(QByteArrayView section) const
{
    const Name name(trimmed(section));
    if (const auto found = m_found.constFind(name); found != m_found.cend())
        return *found;
    for (auto searched = std::next(m_sections.begin()); searched != m_sections.end(); ++searched) {
        if (!searched->isErased() && searched->name == name) {
            const qsizetype index = searched - m_sections.begin();
            m_found.insert(searched->name, index);
            return index;
        }
    }
    return -1;
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
        if (section->edited ? section->lines.empty() : section->text.isEmpty())
            continue;
        const char last =
            section->edited ? section->lines.back().text.back() : section->text.back();
        if (!isLineBreak(last))
            endLine(editableLines(*section).back());
        return;
    }
}
