#pragma once

#include "LogLines.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

// A log that runs append to while it is shown: the bytes appended count once it is looked at
// again, as the file's new length does.
class GrowingLogSource final : public LogSource {
public:
    explicit GrowingLogSource(QByteArray bytes)
        : m_bytes(std::move(bytes))
        , m_size(m_bytes.size())
    {}
    void append(const QByteArray& bytes) { m_bytes += bytes; }
    [[nodiscard]] qint64 size() const override { return m_size; }
    qint64 readAt(qint64 offset, char* into, qint64 max) override
    {
        const qint64 n = std::clamp<qint64>(m_bytes.size() - offset, 0, max);
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
    qint64 m_size;
};
