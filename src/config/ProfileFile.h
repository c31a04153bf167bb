#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// The text of one INI ("profile") file, read and edited the way the Windows profile functions
// do it, so that job files look the same whichever system wrote them. It works on the file's
// bytes only; reading and writing the file is the caller's business.
//
// Reading rules:
// - Lines end with LF or CR LF; the last line may lack its end. A lone CR is part of its line.
// - A leading UTF-8 byte-order mark is not part of the first line.
// - Names and values are compared and returned without blanks (isBlank) at either end.
// - A line whose first non-blank character is "[" is a section header; its name runs to the
//   first "]" or to the end of the line. A section holds the lines up to the next header.
// - A line whose first non-blank character is ";" is a comment; there are no comments after a
//   value. Any other line with an "=" is a key line: the key is the text before the first "=",
//   the value the text after it. Lines without "=" are kept but never read.
// - Section and key names match without regard to ASCII case. Only the first section of a name
//   is searched, and in it the first line of a key wins; keys before the first header are
//   never read.
//
// Editing rules: every line that an edit does not name keeps its bytes and its line end. Lines
// that an edit writes end with CR LF.
class ProfileFile {
public:
    // The longest value a lookup returns, in bytes; longer values are cut.
    static constexpr qsizetype MaxValueLength = 1023;

    explicit ProfileFile(QByteArray bytes = {});

    // Space, tab, CR, vertical tab and form feed: the characters trimmed from names and values.
    [[nodiscard]] static bool isBlank(char c)
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    }
    [[nodiscard]] static QByteArrayView trimmed(QByteArrayView text);
    // Without one pair of enclosing quotes, single or double, if it has them.
    [[nodiscard]] static QByteArrayView unquoted(QByteArrayView text);
    // Only ASCII letters fold: names are 8-bit text whose other bytes have no known case.
    [[nodiscard]] static bool sameName(QByteArrayView a, QByteArrayView b);
    // A line break would end the line early and a NUL cuts it for many readers: text holding
    // either cannot go into a name or a value.
    [[nodiscard]] static bool fitsOnOneLine(QByteArrayView text);

    [[nodiscard]] const QByteArray& bytes() const { return m_bytes; }

    // The key's value with one pair of enclosing quotes removed, or defaultText when the
    // section or the key is missing; either cut to MaxValueLength.
    [[nodiscard]] QByteArray lookup(QByteArrayView section, QByteArrayView key,
                                    QByteArrayView defaultText) const;

    [[nodiscard]] bool hasSection(QByteArrayView section) const;

    // Replaces the key's line in place, keeping the key's spelling in the file. A new key goes
    // after the last non-blank line of its section, so that blank lines before the next header
    // keep separating the sections; a new section goes at the end of the file. Names and value
    // are written as given: the caller keeps line breaks out of them.
    void setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value);

    // Removes the first section of that name, its header and every line up to the next header.
    // Returns false, changing nothing, when there is no such section.
    bool eraseSection(QByteArrayView section);

private:
    enum class LineKind { Blank, Header, Key, Other };

    struct Line {
        qsizetype start = 0;      // first byte of the line
        qsizetype contentEnd = 0; // first byte of the line end, or of the next line
        qsizetype end = 0;        // first byte after the line end
        LineKind kind = LineKind::Other;
        qsizetype nameStart = 0; // the header's section name or the key, untrimmed
        qsizetype nameEnd = 0;
    };

    struct SectionRange {
        qsizetype header = -1; // index of the header line, -1 when the section is missing
        qsizetype end = 0;     // index of the next header line, or the line count
    };

    void parse();
    [[nodiscard]] Line classify(qsizetype start, qsizetype contentEnd, qsizetype end) const;
    [[nodiscard]] QByteArrayView view(qsizetype from, qsizetype to) const;
    [[nodiscard]] QByteArrayView name(const Line& line) const;
    [[nodiscard]] QByteArrayView value(const Line& line) const;
    [[nodiscard]] SectionRange findSection(QByteArrayView section) const;
    [[nodiscard]] qsizetype findKey(const SectionRange& range, QByteArrayView key) const;
    [[nodiscard]] qsizetype lastNonBlank(const SectionRange& range) const;
    [[nodiscard]] qsizetype bodyStart() const;

    // Puts text at offset, after a line end for a last line that has none.
    void insertLines(qsizetype offset, const QByteArray& text);
    void replaceBytes(qsizetype from, qsizetype to, const QByteArray& text);

    QByteArray m_bytes;
    std::vector<Line> m_lines;
};
