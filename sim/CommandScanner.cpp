#include "CommandScanner.h"

namespace zephsim {

namespace {
// Without a terminator in sight only the tail that could still start one is kept.
constexpr std::size_t kMaxPending = 256;
} // namespace

std::vector<Command> CommandScanner::feed(const std::uint8_t *data, std::size_t size)
{
    m_buffer.insert(m_buffer.end(), data, data + size);
    std::vector<Command> commands;

    // The terminator is searched from offset 4 on, so that argument bytes that
    // happen to read 10, 13, 0 do not cut a frame short.
    std::size_t consumed = 0;
    std::size_t pos = consumed + 4;
    while (pos + 3 <= m_buffer.size()) {
        if (m_buffer[pos] == 10 && m_buffer[pos + 1] == 13 && m_buffer[pos + 2] == 0) {
            commands.push_back({m_buffer[pos - 4], m_buffer[pos - 3], m_buffer[pos - 2], m_buffer[pos - 1]});
            consumed = pos + 3;
            pos = consumed + 4;
        } else {
            ++pos;
        }
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(consumed));
    if (m_buffer.size() > kMaxPending)
        m_buffer.erase(m_buffer.begin(), m_buffer.end() - static_cast<std::ptrdiff_t>(kFrameSize - 1));
    return commands;
}

} // namespace zephsim
