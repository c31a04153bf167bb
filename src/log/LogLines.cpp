#include "LogLines.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// A line read for the view is read in blocks this large: a screenful of log lines and then some.
constexpr qint64 ReadBlock = 64 * 1024;
// What a search learns the text's bytes from: enough lines to tell rare bytes from common ones.
constexpr qsizetype SampleBytes = 64 * 1024;

// The first line break in [pos, n) of data: the position of its first byte, or n when there is
// none. nextLf remembers where the next LF is, so that a block of bare CRs costs no rescans.
qint64 nextBreak(const char* data, qint64 pos, qint64 n, qint64& nextLf)
{
    if (nextLf < pos) {
        const void* lf = std::memchr(data + pos, '\n', static_cast<std::size_t>(n - pos));
        nextLf = lf != nullptr ? static_cast<const char*>(lf) - data : n;
    }
    const void* cr = std::memchr(data + pos, '\r', static_cast<std::size_t>(nextLf - pos));
    return cr != nullptr ? static_cast<const char*>(cr) - data : nextLf;
}

} // namespace

BytesLogSource::BytesLogSource(QByteArray bytes)
    : m_bytes(std::move(bytes))
{}

qint64 BytesLogSource::size() const
{
    return m_bytes.size();
}

qint64 BytesLogSource::readAt(qint64 offset, char* into, qint64 max)
{
    const qint64 n = std::clamp<qint64>(m_bytes.size() - offset, 0, max);
    std::memcpy(into, m_bytes.constData() + offset, static_cast<std::size_t>(n));
    return n;
}

// Reads lines one after another, from a line start that a checkpoint gave.
class LogLines::Reader {
public:
    Reader(LogLines& owner, const Checkpoint& from)
        : m_owner(owner)
        , m_line(from.line)
        , m_bufStart(from.offset)
    {}

    [[nodiscard]] qint64 line() const { return m_line; }
    // Where the next line to read starts.
    [[nodiscard]] qint64 offset() const { return m_bufStart + m_pos; }

    // Reads the next line's text into text (or skips it when text is null); false when no
    // line is left.
    bool next(QByteArray* text)
    {
        if (m_line >= m_owner.lineCount())
            return false;
        if (text != nullptr)
            text->clear();
        bool cut = false;
        for (;;) {
            if (m_pos >= m_buf.size() && !refill()) {
                ++m_line;
                break;
            }
            const char* data = m_buf.constData();
            const qint64 n = m_buf.size();
            const qint64 end = nextBreak(data, m_pos, n, m_nextLf);
            if (text != nullptr && !cut) {
                const qint64 room = LogLines::MaxLineBytes - text->size();
                text->append(data + m_pos, std::min(room, end - m_pos));
                cut = end - m_pos > room;
            }
            if (end == n) {
                m_pos = n;
                if ((cut || text == nullptr) && skipToNextCheckpoint())
                    break;
                continue;
            }
            m_pos = end + 1;
            if (data[end] == '\r')
                skipLfAfterCr();
            ++m_line;
            break;
        }
        if (cut)
            text->append(LogLines::MoreMark);
        return true;
    }

private:
    bool refill()
    {
        m_bufStart += m_buf.size();
        m_buf = m_owner.read(m_bufStart, std::min(ReadBlock, m_owner.m_tuning.blockBytes));
        m_pos = 0;
        m_nextLf = -1;
        return !m_buf.isEmpty();
    }

    void skipLfAfterCr()
    {
        if (m_pos >= m_buf.size() && !refill())
            return;
        if (m_buf.at(m_pos) == '\n')
            ++m_pos;
    }

    // A line that goes on past the block is not read to its end when the index already knows
    // where the next line starts.
    bool skipToNextCheckpoint()
    {
        const Checkpoint& next = m_owner.checkpointForLine(m_line + 1);
        if (next.line != m_line + 1)
            return false;
        m_line = next.line;
        m_bufStart = next.offset;
        m_buf.clear();
        m_pos = 0;
        return true;
    }

    LogLines& m_owner;
    qint64 m_line;
    qint64 m_bufStart;
    QByteArray m_buf;
    qint64 m_pos = 0;
    qint64 m_nextLf = -1;
};

LogLines::LogLines(std::unique_ptr<LogSource> source)
    : LogLines(std::move(source), Tuning())
{}

LogLines::LogLines(std::unique_ptr<LogSource> source, Tuning tuning)
    : m_source(std::move(source))
    , m_tuning(tuning)
    , m_size(m_source->size())
{
    m_complete = m_size == 0;
}

LogLines::~LogLines() = default;

QByteArray LogLines::read(qint64 offset, qint64 max)
{
    QByteArray bytes;
    readInto(bytes, offset, max);
    return bytes;
}

void LogLines::readInto(QByteArray& into, qint64 offset, qint64 max)
{
    into.resize(std::clamp<qint64>(m_size - offset, 0, max));
    qint64 got = 0;
    while (got < into.size()) {
        const qint64 n = m_source->readAt(offset + got, into.data() + got, into.size() - got);
        if (n <= 0)
            break;
        got += n;
    }
    into.resize(got);
}

bool LogLines::indexMore(qint64 budget)
{
    while (!m_complete && budget > 0) {
        readInto(m_block, m_scanned, m_tuning.blockBytes);
        if (m_block.isEmpty()) {
            // Cut short under us: what was read is all there is.
            m_size = m_scanned;
            break;
        }
        const char* data = m_block.constData();
        const qint64 n = m_block.size();
        qint64 pos = 0;
        qint64 nextLf = -1;
        if (m_afterCr && data[0] == '\n')
            pos = 1;
        m_afterCr = false;
        while (pos < n) {
            if (!m_inLine) {
                m_openLineStart = m_scanned + pos;
                addLineStart(m_lines, m_openLineStart);
                m_inLine = true;
            }
            const qint64 end = nextBreak(data, pos, n, nextLf);
            if (end == n)
                break;
            ++m_lines;
            m_inLine = false;
            pos = end + 1;
            if (data[end] == '\r') {
                if (pos == n)
                    m_afterCr = true;
                else if (data[pos] == '\n')
                    ++pos;
            }
        }
        m_scanned += n;
        budget -= n;
        m_complete = m_scanned >= m_size;
    }
    if (m_scanned >= m_size && !m_complete)
        m_complete = true;
    if (m_complete)
        m_block.clear();
    return m_complete;
}

LogSource::Change LogLines::recheck()
{
    const LogSource::Change change = m_source->recheck();
    if (change == LogSource::Change::Grown) {
        m_size = m_source->size();
        m_complete = false;
    }
    return change;
}

bool LogLines::isComplete() const
{
    return m_complete;
}

// A last line without a break counts once the scan has reached the end: until then, the next
// bytes may go on with it.
qint64 LogLines::lineCount() const
{
    return m_lines + (m_complete && m_inLine ? 1 : 0);
}

qint64 LogLines::size() const
{
    return m_size;
}

qint64 LogLines::scannedBytes() const
{
    return m_scanned;
}

qint64 LogLines::linesEnd() const
{
    if (m_complete)
        return m_size;
    return m_inLine ? m_openLineStart : m_scanned;
}

qsizetype LogLines::checkpointCount() const
{
    return static_cast<qsizetype>(m_checkpoints.size());
}

void LogLines::addLineStart(qint64 line, qint64 offset)
{
    const bool farFromLast = !m_checkpoints.empty() &&
                             offset - m_checkpoints.back().offset > m_tuning.checkpointDistance;
    if (line % m_stride != 0 && !farFromLast)
        return;
    m_checkpoints.push_back({line, offset});
    if (static_cast<qsizetype>(m_checkpoints.size()) > m_tuning.maxCheckpoints)
        thinCheckpoints();
}

void LogLines::thinCheckpoints()
{
    m_stride *= 2;
    m_tuning.checkpointDistance *= 2;
    std::vector<Checkpoint> kept;
    kept.reserve(m_checkpoints.size() / 2 + 1);
    for (const Checkpoint& c : m_checkpoints)
        if (kept.empty() || c.line % m_stride == 0 ||
            c.offset - kept.back().offset > m_tuning.checkpointDistance)
            kept.push_back(c);
    m_checkpoints = std::move(kept);
}

const LogLines::Checkpoint& LogLines::checkpointForLine(qint64 line) const
{
    auto after = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), line,
                                  [](qint64 l, const Checkpoint& c) { return l < c.line; });
    return *std::prev(after);
}

const LogLines::Checkpoint& LogLines::checkpointForOffset(qint64 offset) const
{
    auto after = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), offset,
                                  [](qint64 o, const Checkpoint& c) { return o < c.offset; });
    return *std::prev(after);
}

QList<QByteArray> LogLines::lines(qint64 first, qint64 count)
{
    QList<QByteArray> found;
    if (first < 0 || first >= lineCount() || count <= 0)
        return found;
    Reader reader(*this, checkpointForLine(first));
    while (reader.line() < first && reader.next(nullptr)) {
    }
    QByteArray text;
    while (found.size() < count && reader.next(&text))
        found.append(text);
    return found;
}

qint64 LogLines::lineAt(qint64 offset)
{
    const qint64 count = lineCount();
    if (count == 0)
        return 0;
    Reader reader(*this, checkpointForOffset(std::max<qint64>(offset, 0)));
    while (reader.line() < count - 1) {
        const qint64 line = reader.line();
        if (!reader.next(nullptr) || offset < reader.offset())
            return line;
    }
    return count - 1;
}

qint64 LogLines::lineStart(qint64 line)
{
    if (line >= lineCount())
        return m_complete ? m_size : m_scanned;
    Reader reader(*this, checkpointForLine(std::max<qint64>(line, 0)));
    while (reader.line() < line && reader.next(nullptr)) {
    }
    return reader.offset();
}

LogLines::Search::Search(LogLines& lines, QByteArray needle, bool matchCase, bool forward,
                         qint64 from)
    : m_lines(lines)
    , m_finder(std::move(needle), matchCase)
    , m_forward(forward)
    , m_from(std::clamp<qint64>(from, 0, lines.size()))
    , m_next(m_from)
{
    if (m_finder.size() == 0)
        m_state = State::NotFound;
}

// Matches are looked for by where they start: forward in [from, size) and then, wrapped, in
// [0, from); backward in [0, from) from its end down and then, wrapped, in [from, size).
LogLines::Search::State LogLines::Search::step(qint64 budget)
{
    while (m_state == State::Searching && budget > 0) {
        const qint64 before = m_searched;
        if (m_forward ? searchForward(budget) : searchBackward(budget))
            m_state = State::Found;
        else if (m_searched >= m_lines.size())
            m_state = State::NotFound;
        budget -= std::max<qint64>(m_searched - before, 1);
    }
    return m_state;
}

bool LogLines::Search::searchForward(qint64 budget)
{
    const qint64 end = m_wrapped ? m_from : m_lines.size();
    const qint64 chunk = std::min({budget, m_lines.m_tuning.blockBytes, end - m_next});
    if (chunk > 0) {
        const qint64 at = findIn(m_next, chunk, false);
        if (at >= 0) {
            m_match = m_next + at;
            return true;
        }
        m_next += chunk;
        m_searched += chunk;
    }
    if (m_next >= end && !m_wrapped) {
        m_wrapped = true;
        m_next = 0;
    }
    return false;
}

bool LogLines::Search::searchBackward(qint64 budget)
{
    const qint64 start = m_wrapped ? m_from : 0;
    const qint64 chunk = std::min({budget, m_lines.m_tuning.blockBytes, m_next - start});
    if (chunk > 0) {
        const qint64 from = m_next - chunk;
        const qint64 at = findIn(from, chunk, true);
        if (at >= 0) {
            m_match = from + at;
            return true;
        }
        m_next = from;
        m_searched += chunk;
    }
    if (m_next <= start && !m_wrapped) {
        m_wrapped = true;
        m_next = m_lines.size();
    }
    return false;
}

qint64 LogLines::Search::findIn(qint64 from, qint64 chunk, bool last)
{
    m_lines.readInto(m_block, from, chunk + m_finder.size() - 1);
    if (!std::exchange(m_learned, true))
        m_finder.learnFrom(
            QByteArrayView(m_block).first(std::min<qsizetype>(m_block.size(), SampleBytes)));
    const qint64 at = last ? m_finder.findLast(m_block) : m_finder.findFirst(m_block);
    // A match that starts past the chunk belongs to the next one.
    return at < chunk ? at : -1;
}
