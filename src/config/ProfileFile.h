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
// Making the object only finds the section headers; a section is split into lines when a lookup
// or an edit needs it, and every edit changes only the lines it names. So a job file beside
// megabytes of other programs' sections is read in little more time than its bytes take to
// read, and those sections go back into the file as the very bytes they were. Lookups remember
// where they found a section, so not even two const calls of one object may run at once.
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

    // A section name as lookups compare it: trimmed, without regard to ASCII case. The hash is
    // taken once, while the name's bytes are at hand, so that a search of many sections compares
    // numbers and goes back to the bytes only for a section of the name it looks for.
    struct Name {
        explicit Name(QByteArrayView name = {});

        QByteArrayView text;
        std::size_t hash = 0;

        friend bool operator==(const Name& a, const Name& b)
        {
            return a.hash == b.hash && sameName(a.text, b.text);
        }
        friend std::size_t qHash(const Name& name, std::size_t seed)
        {
            return ::qHash(name.hash, seed);
        }
    };

    // A header line and the lines up to the next one; the first section holds the lines before
    // the first header and has no header. Until an edit touches it, a section is its bytes in
    // the text, split into lines when a lookup first needs them; from then on it holds its own
    // lines, none once it is erased.
    struct Section {
        explicit Section(QByteArrayView bytes = {}, Name sectionName = Name())
            : text(bytes)
            , name(sectionName)
        {}

        [[nodiscard]] bool isErased() const { return edited && lines.empty(); }

        QByteArrayView text;
        Name name;
        bool edited = false;
        mutable std::vector<Line> lines;
    };

    [[nodiscard]] static Line classify(QByteArrayView text, std::uint8_t endLength);
    [[nodiscard]] static std::vector<Line> splitLines(QByteArrayView text);
    // The name of the header line that text starts with; text may go on past that line.
    [[nodiscard]] static Name nameOf(QByteArrayView text);
    [[nodiscard]] static const std::vector<Line>& linesOf(const Section& section);
    [[nodiscard]] static std::vector<Line>& editableLines(Section& section);
    // Every piece of the text in order, the byte-order mark first.
    template <typename Visit>
    void forEachPiece(Visit visit) const;
    [[nodiscard]] qsizetype findSection(QByteArrayView section) const;
    // In a section's lines, header first: the first line of the key, or -1.
    [[nodiscard]] static qsizetype findKey(std::span<const Line> lines, QByteArrayView key);
    [[nodiscard]] static qsizetype lastNonBlank(std::span<const Line> lines);

    [[nodiscard]] Line ownLine(QByteArray text);
    void endLine(Line& line);
    void endLastLine();

    QByteArray m_original;
    QByteArrayView m_byteOrderMark;
    // The lines that edits wrote. Each array keeps its bytes where they are when the vector
    // grows, so lines can view them.
    std::vector<QByteArray> m_written;
    std::vector<Section> m_sections;
    // The first section of each name that a search has found, so that the next search for it
    // goes straight there: a load looks up one section a hundred times in a row.
    mutable QHash<Name, qsizetype> m_found;
};
