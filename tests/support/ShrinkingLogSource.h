#pragma once

#include "LogLines.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

// A log that another program cuts short under the viewer: it keeps the size it had when opened,
// but only the bytes before the cut can still be read.
class ShrinkingLogSource final : public LogSource {
public:
    explicit ShrinkingLogSource(QByteArray bytes)
        : m_bytes(std::move(bytes))
        , m_available(m_bytes.size())
    {}
    void cutTo(qint64 bytes) { m_available = bytes; }
    [[nodiscard]] qint64 size() const override { return m_bytes.size(); }
    qint64 readAt(qint64 offset, char* into, qint64 max) override
    {
        const qint64 n = std::clamp<qint64>(m_available - offset, 0, max);
        std::memcpy(into, m_bytes.constData() + offset, static_cast<std::size_t>(n));
        return n;
    }

private:
    QByteArray m_bytes;
    qint64 m_available;
};
