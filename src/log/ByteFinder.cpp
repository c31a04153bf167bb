#include "ByteFinder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr std::size_t index(char c)
{
    return static_cast<unsigned char>(c);
}

// Comparing the needle where its byte was found costs about as much as memchr going over this
// many bytes: a byte met every few hundred bytes already slows the search more than a second
// pass of memchr for the other case of a letter.
constexpr qint64 CandidateCost = 128;

// The first place of c in [pos, end) of data, or end.
qsizetype find(const char* data, qsizetype pos, qsizetype end, char c)
{
    const void* at = std::memchr(data + pos, c, static_cast<std::size_t>(end - pos));
    return at != nullptr ? static_cast<const char*>(at) - data : end;
}

} // namespace

ByteFinder::ByteFinder(QByteArray needle, bool matchCase)
    : m_needle(std::move(needle))
    , m_matchCase(matchCase)
{
    if (!m_matchCase)
        for (char& c : m_needle)
            c = lower(c);
    learnFrom({});
}

void ByteFinder::learnFrom(QByteArrayView sample)
{
    std::array<qint64, 256> counts{};
    for (const char c : sample)
        ++counts[index(c)];
    qint64 best = -1;
    for (qsizetype i = 0; i < m_needle.size(); ++i) {
        const char c = m_needle.at(i);
        const bool twoCases = !m_matchCase && upper(c) != c;
        const qint64 cost =
            (counts[index(c)] + (twoCases ? counts[index(upper(c))] : 0)) * CandidateCost +
            (twoCases ? sample.size() : 0);
        if (best < 0 || cost < best) {
            best = cost;
            m_rareIndex = i;
            m_rare = c;
            m_rareOther = upper(c);
            m_twoCases = twoCases;
        }
    }
}

qsizetype ByteFinder::nextCandidate(QByteArrayView block, qsizetype pos, qsizetype& nextByte,
                                    qsizetype& nextOther) const
{
    // The needle's byte stands m_rareIndex after a match's start; the last start leaves room for
    // the whole needle.
    const qsizetype end = block.size() - m_needle.size() + m_rareIndex + 1;
    const qsizetype from = pos + m_rareIndex;
    if (from >= end)
        return -1;
    if (nextByte < from)
        nextByte = find(block.data(), from, end, m_rare);
    qsizetype at = nextByte;
    if (m_twoCases) {
        if (nextOther < from)
            nextOther = find(block.data(), from, end, m_rareOther);
        at = std::min(at, nextOther);
    }
    return at < end ? at - m_rareIndex : -1;
}

bool ByteFinder::matchesAt(const char* at) const
{
    if (m_matchCase)
        return std::memcmp(at, m_needle.constData(), static_cast<std::size_t>(m_needle.size())) ==
               0;
    for (qsizetype i = 0; i < m_needle.size(); ++i)
        if (lower(at[i]) != m_needle.at(i))
            return false;
    return true;
}

qsizetype ByteFinder::findFirst(QByteArrayView block) const
{
    if (m_needle.isEmpty())
        return -1;
    qsizetype nextByte = -1;
    qsizetype nextOther = -1;
    for (qsizetype start = nextCandidate(block, 0, nextByte, nextOther); start >= 0;
         start = nextCandidate(block, start + 1, nextByte, nextOther))
        if (matchesAt(block.data() + start))
            return start;
    return -1;
}

// Memchr has no backward twin everywhere, and a block is small: the last of its matches is
// found going forward.
qsizetype ByteFinder::findLast(QByteArrayView block) const
{
    qsizetype last = -1;
    for (qsizetype at = findFirst(block); at >= 0;) {
        last += at + 1;
        at = findFirst(block.sliced(last + 1));
    }
    return last;
}
