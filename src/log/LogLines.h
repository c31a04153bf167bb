#pragma once

#include "ByteFinder.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <vector>

// The bytes of the activity log, read at any offset; the length is the one seen when the file
// was opened or last looked at again.
class LogSource {
public:
    // What became of the file since then.
    enum class Change {
        None,
        Grown,
        // Cut short, emptied or deleted, or another file in its place: what was read of it no
        // longer holds, and the log is to be opened afresh.
        Replaced,
    };

    virtual ~LogSource() = default;
    [[nodiscard]] virtual qint64 size() const = 0;
    // Reads up to max bytes at offset; returns how many were read, 0 at the end or when the
    // file can no longer be read (another program cut it short, say).
    virtual qint64 readAt(qint64 offset, char* into, qint64 max) = 0;
    // Looks at the file again; once it has grown, size() is its new length.
    [[nodiscard]] virtual Change recheck() { return Change::None; }
};

// Bytes held in memory: the view of an empty log, and tests.
class BytesLogSource final : public LogSource {
public:
    explicit BytesLogSource(QByteArray bytes = {});
    [[nodiscard]] qint64 size() const override;
    qint64 readAt(qint64 offset, char* into, qint64 max) override;

private:
    QByteArray m_bytes;
};

// The lines of a log source, found without holding the file in memory: the source is scanned
// once, a slice at a time so that the window stays responsive, and a checkpoint (line number and
// byte offset) is kept for every so many lines. A line is then read from the checkpoint before
// it. Memory grows with the number of checkpoints only, which is capped: when the cap is
// reached, every other checkpoint goes and the spacing doubles.
//
// A line ends at CR LF, at a bare LF or at a bare CR; the last line needs no break. The text of a
// line excludes its break. Bytes appended to the source later are scanned on from where the scan
// ended, a last line without a break going on with them.
class LogLines {
public:
    struct Tuning {
        qint64 blockBytes = qint64(1) << 20;
        qsizetype maxCheckpoints = qsizetype(1) << 20;
        // A checkpoint after a line longer than this, so that no lookup re-reads a huge line.
        qint64 checkpointDistance = qint64(1) << 20;
    };

    // Lines longer than this are shown and copied cut short, with MoreMark at the end.
    static constexpr qsizetype MaxLineBytes = 64 * 1024;
    static constexpr auto MoreMark = " \xe2\x80\xa6";

    explicit LogLines(std::unique_ptr<LogSource> source);
    LogLines(std::unique_ptr<LogSource> source, Tuning tuning);
    ~LogLines();

    // Scans about budget more bytes; true when the whole source has been scanned.
    bool indexMore(qint64 budget);
    // Looks at the source again; bytes it has grown by are then to be scanned.
    [[nodiscard]] LogSource::Change recheck();
    [[nodiscard]] bool isComplete() const;
    // The lines found so far; all of them once complete.
    [[nodiscard]] qint64 lineCount() const;
    [[nodiscard]] qint64 size() const;
    [[nodiscard]] qint64 scannedBytes() const;
    // Where the lines found so far end: bytes before it belong to one of them, bytes from it on
    // to a line the scan has not finished.
    [[nodiscard]] qint64 linesEnd() const;
    // What the index holds: never more than the tuning's cap.
    [[nodiscard]] qsizetype checkpointCount() const;

    // The text of up to count lines from first on (fewer at the end of what is indexed).
    [[nodiscard]] QList<QByteArray> lines(qint64 first, qint64 count);
    // The line holding the byte at offset, or the last line for an offset past the end.
    [[nodiscard]] qint64 lineAt(qint64 offset);
    // The byte offset where line starts (size() for line == lineCount()).
    [[nodiscard]] qint64 lineStart(qint64 line);

    // Searches for needle from offset on (forward) or before it (backward), wrapping around the
    // ends once, about budget bytes a call. matchCase false folds the letters A to Z only. The
    // search reads the file, not the index: it runs as fast over lines the scan has not reached.
    class Search {
    public:
        Search(LogLines& lines, QByteArray needle, bool matchCase, bool forward, qint64 from);
        enum class State { Searching, Found, NotFound };
        State step(qint64 budget);
        [[nodiscard]] State state() const { return m_state; }
        // Where the match starts, once found, and whether the search went past an end for it.
        [[nodiscard]] qint64 matchOffset() const { return m_match; }
        [[nodiscard]] bool wrapped() const { return m_wrapped; }

    private:
        bool searchForward(qint64 budget);
        bool searchBackward(qint64 budget);
        // Reads [from, from + chunk) and the needle's length less one after it; where in it the
        // first (or last) match starts that starts within the chunk, or -1.
        [[nodiscard]] qint64 findIn(qint64 from, qint64 chunk, bool last);

        LogLines& m_lines;
        ByteFinder m_finder;
        bool m_learned = false;
        QByteArray m_block;
        bool m_forward;
        qint64 m_from;
        qint64 m_next;
        qint64 m_searched = 0;
        bool m_wrapped = false;
        qint64 m_match = -1;
        State m_state = State::Searching;
    };

private:
    struct Checkpoint {
        qint64 line;
        qint64 offset;
    };
    class Reader;

    void addLineStart(qint64 line, qint64 offset);
    void thinCheckpoints();
    [[nodiscard]] const Checkpoint& checkpointForLine(qint64 line) const;
    [[nodiscard]] const Checkpoint& checkpointForOffset(qint64 offset) const;
    QByteArray read(qint64 offset, qint64 max);
    // As read, into a buffer that keeps its memory from one read to the next.
    void readInto(QByteArray& into, qint64 offset, qint64 max);

    std::unique_ptr<LogSource> m_source;
    Tuning m_tuning;
    qint64 m_size;
    std::vector<Checkpoint> m_checkpoints;
    qint64 m_stride = 16;
    // Scan state between slices.
    qint64 m_scanned = 0;
    qint64 m_lines = 0;
    bool m_inLine = false;
    qint64 m_openLineStart = 0;
    bool m_afterCr = false;
    bool m_complete = false;
    QByteArray m_block;
};
