#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Finds a needle in blocks of bytes at about the pace of memchr: it looks only for the needle's
// rarest byte, as a sample of the text rates it, and compares the whole needle only where that
// byte stands. Without matchCase the letters A to Z match in either case, other bytes only as
// they are.
class ByteFinder {
public:
    ByteFinder(QByteArray needle, bool matchCase);

    [[nodiscard]] qsizetype size() const { return m_needle.size(); }
    // Chooses the byte to look for by how often each byte occurs in sample.
    void learnFrom(QByteArrayView sample);
    // Where the first or the last match in block starts; -1 when there is none.
    [[nodiscard]] qsizetype findFirst(QByteArrayView block) const;
    [[nodiscard]] qsizetype findLast(QByteArrayView block) const;

private:
    // The next place in block from pos on where a match may start, or -1.
    [[nodiscard]] qsizetype nextCandidate(QByteArrayView block, qsizetype pos, qsizetype& nextByte,
                                          qsizetype& nextOther) const;
    [[nodiscard]] bool matchesAt(const char* at) const;

    QByteArray m_needle;
    bool m_matchCase;
    // The needle's byte that is looked for, and where in the needle it stands; a letter found
    // in either case is looked for twice.
    qsizetype m_rareIndex = 0;
    char m_rare = 0;
    char m_rareOther = 0;
    bool m_twoCases = false;
};
