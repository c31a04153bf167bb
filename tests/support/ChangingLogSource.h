#pragma once

#include "LogLines.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

// A log that other programs change under the viewer. Cut short, it keeps the size it had when
// opened, but only the bytes before the cut can still be read. Appended to, the new bytes count
// once it is looked at again, as the file's new length does.
class ChangingLogSource final : public LogSource {
public:
    explicit ChangingLogSource(QByteArray bytes)
        : m_bytes(std::move(bytes))
        , m_available(m_bytes.size())
        , m_size(m_bytes.size())
    {}
    void cutTo(qint64 bytes) { m_available = bytes; }
    void append(const QByteArray& bytes)
    {
        m_bytes += bytes;
        m_available = m_bytes.size();
    }
    [[nodiscard]] qint64 size() const override { return m_size; }
    qint64 readAt(qint64 offset, char* into, qint64 max) override
    {
        const qint64 n = std::clamp<qint64>(m_available - offset, 0, max);
        std::memcpy(into, m_bytes.constData() + offset, static_cast<std::size_t>(n));
        return n;
    }
    [[nodiscard]] Change recheck() override
    {
        if (m_bytes.size() == m_size)
            return Change::None;
        m_size = m_bytes.size();
        return Change::Grown;
    }

private:
    QByteArray m_bytes;
    qint64 m_available;
    qint64 m_size;
};
