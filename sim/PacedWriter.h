// Holds the bytes waiting to go to the PC and releases them at the pace of a
// 9600 baud 8N1 line: a byte counts as delivered once its ten bits are through.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace zephsim {

class PacedWriter {
public:
    using Clock = std::chrono::steady_clock;

    static std::chrono::nanoseconds byteTime(unsigned baud); // 10 bits per byte
    static constexpr std::size_t kDefaultChunk = 4;
    static constexpr std::size_t kMaxQueued = 64 * 1024;

    // A byte time of zero sends everything at once.
    explicit PacedWriter(std::chrono::nanoseconds byteTime, std::size_t chunk = kDefaultChunk);

    // False when the queue is full and the bytes were dropped.
    bool enqueue(const std::uint8_t *data, std::size_t size, Clock::time_point now);
    bool empty() const { return m_queue.empty(); }
    void clear() { m_queue.clear(); }
    std::size_t queued() const { return m_queue.size(); }

    // The bytes that may be written now (possibly none).
    std::vector<std::uint8_t> due(Clock::time_point now) const;
    // After a write: how many of the due bytes went out; blocked when the other
    // side could not take them all, so the pace starts afresh instead of bursting.
    void consumed(std::size_t count, Clock::time_point now, bool blocked);
    // When the next chunk is due; nullopt while nothing is queued.
    std::optional<Clock::time_point> nextDue() const;

private:
    std::size_t dueCount(Clock::time_point now) const;

    std::chrono::nanoseconds m_byteTime;
    std::size_t m_chunk;
    std::deque<std::uint8_t> m_queue;
    Clock::time_point m_start;       // the line started sending at this time
    std::size_t m_sentSinceStart = 0;
};

} // namespace zephsim
