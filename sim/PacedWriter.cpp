#include "PacedWriter.h"

#include <algorithm>

namespace zephsim {

std::chrono::nanoseconds PacedWriter::byteTime(unsigned baud)
{
    return std::chrono::nanoseconds(10'000'000'000LL / baud);
}

PacedWriter::PacedWriter(std::chrono::nanoseconds byteTime, std::size_t chunk)
    : m_byteTime(byteTime), m_chunk(std::max<std::size_t>(chunk, 1))
{
}

bool PacedWriter::enqueue(const std::uint8_t *data, std::size_t size, Clock::time_point now)
{
    if (m_queue.size() + size > kMaxQueued)
        return false;
    if (m_queue.empty()) {
        // Bytes leave only once due, so an empty queue means an idle line.
        m_start = now;
        m_sentSinceStart = 0;
    }
    m_queue.insert(m_queue.end(), data, data + size);
    return true;
}

std::size_t PacedWriter::dueCount(Clock::time_point now) const
{
    if (m_byteTime.count() == 0)
        return m_queue.size();
    if (now < m_start)
        return 0;
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - m_start);
    const auto delivered = static_cast<std::size_t>(elapsed / m_byteTime);
    if (delivered <= m_sentSinceStart)
        return 0;
    return std::min(delivered - m_sentSinceStart, m_queue.size());
}

std::vector<std::uint8_t> PacedWriter::due(Clock::time_point now) const
{
    const std::size_t count = dueCount(now);
    return {m_queue.begin(), m_queue.begin() + static_cast<std::ptrdiff_t>(count)};
}

void PacedWriter::consumed(std::size_t count, Clock::time_point now, bool blocked)
{
    count = std::min(count, m_queue.size());
    m_queue.erase(m_queue.begin(), m_queue.begin() + static_cast<std::ptrdiff_t>(count));
    m_sentSinceStart += count;
    if (blocked) {
        m_start = now;
        m_sentSinceStart = 0;
    }
}

std::optional<PacedWriter::Clock::time_point> PacedWriter::nextDue() const
{
    if (m_queue.empty())
        return std::nullopt;
    if (m_byteTime.count() == 0)
        return m_start;
    const std::size_t chunk = std::min(m_chunk, m_queue.size());
    return m_start + m_byteTime * static_cast<long>(m_sentSinceStart + chunk);
}

} // namespace zephsim
