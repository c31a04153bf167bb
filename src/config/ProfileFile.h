#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The text of one INI file, read and edited by the fixed rules below, so that a job file reads
// the same whichever program wrote it. It works on the file's bytes only; reading and writing
// the file is the caller's business.
//
// Reading rules:
// - Lines end with LF, CR LF or a lone CR; the last line may lack its end.
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
//
// The text is split into lines and sections once, when the object is made, and every edit
// changes only the lines it names, so that a job file beside megabytes of other programs'
// sections is read and saved in time proportional to its size.
class ProfileFile {
public:
    // The UTF-8 byte-order mark that may begin the text.
    static constexpr QByteArrayView ByteOrderMark{"\xEF\xBB\xBF"};
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
    // The text to write so that a lookup gives value back whole: value itself, or value in one
    // more pair of double quotes when the reading rules would take blanks or quotes off its ends.
    // A value too long for its quotes to fit within MaxValueLength is written as it is and read
    // back as the rules take it.
    [[nodiscard]] static QByteArray protectedValue(QByteArrayView value);
    // Only ASCII letters fold: names are 8-bit text whose other bytes have no known case.
    [[nodiscard]] static bool sameName(QByteArrayView a, QByteArrayView b);
    // A line break would end the line early and a NUL cuts it for many readers: text holding
    // either cannot go into a name or a value.
    [[nodiscard]] static bool fitsOnOneLine(QByteArrayView text);

    // The whole text as it stands after the edits.
    [[nodiscard]] QByteArray bytes() const;

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

    // Removes every section of that name, each with its header and every line up to the next
    // header. Returns false, changing nothing, when there is no such section.
    bool eraseSection(QByteArrayView section);

private:
    enum class LineKind : std::uint8_t { Blank, Header, Text };

    // One line with its end, viewing bytes that this object holds and never changes.
    struct Line {
        QByteArrayView text;
        std::uint8_t endLength = 0; // 0 for a last line without end, 1 for LF or CR, 2 for CR LF
        LineKind kind = LineKind::Text;

        [[nodiscard]] QByteArrayView content() const { return text.chopped(endLength); }
    };

    // A header line and the lines up to the next one; the first section holds the lines before
    // the first header and has no header. Until an edit touches it, a section's lines are a
    // range of the text's lines; from then on it holds its own, none once it is erased.
    struct Section {
        qsizetype first = 0;
        qsizetype count = 0;
        bool edited = false;
        std::vector<Line> lines;
        qsizetype nextOfName = -1; // another section of the same name, or -1
    };

    // A section name as the index compares it: trimmed, without regard to ASCII case.
    struct Name {
        QByteArrayView text;

        [[nodiscard]] std::size_t hash(std::size_t seed) const;
        friend bool operator==(Name a, Name b) { return sameName(a.text, b.text); }
        friend std::size_t qHash(Name name, std::size_t seed) { return name.hash(seed); }
    };

    [[nodiscard]] static Line classify(QByteArrayView text, std::uint8_t endLength);
    [[nodiscard]] static Name nameOf(const Line& header);
    [[nodiscard]] std::span<const Line> linesOf(const Section& section) const;
    [[nodiscard]] std::vector<Line>& editableLines(Section& section);
    [[nodiscard]] qsizetype findSection(QByteArrayView section) const;
    // In a section's lines, header first: the first line of the key, or -1.
    [[nodiscard]] static qsizetype findKey(std::span<const Line> lines, QByteArrayView key);
    [[nodiscard]] static qsizetype lastNonBlank(std::span<const Line> lines);

    void addSection(Section section, const Line& header);
    [[nodiscard]] Line ownLine(QByteArray text);
    void endLine(Line& line);
    void endLastLine();

    QByteArray m_original;
    QByteArrayView m_byteOrderMark;
    // The lines of the original text, in order; sections view ranges of them.
    std::vector<Line> m_lines;
    // The lines that edits wrote. Each array keeps its bytes where they are when the vector
    // grows, so lines can view them.
    std::vector<QByteArray> m_written;
    std::vector<Section> m_sections;
    // The first section of each name.
    QHash<Name, qsizetype> m_index;
};
