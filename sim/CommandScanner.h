// Cuts the byte stream from the PC into 7-byte command frames. Like a module it
// finds its step again on the 10, 13, 0 terminator and drops what lies before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zephsim {

struct Command {
    std::uint8_t letter = 0;
    std::uint8_t arg1 = 0;
    std::uint8_t arg2 = 0;
    std::uint8_t arg3 = 0;

    std::uint16_t id() const { return static_cast<std::uint16_t>(arg1 | (arg2 << 8)); }
    bool operator==(const Command &) const = default;
};

class CommandScanner {
public:
    static constexpr std::size_t kFrameSize = 7;

    std::vector<Command> feed(const std::uint8_t *data, std::size_t size);
    std::size_t pending() const { return m_buffer.size(); }
    void clear() { m_buffer.clear(); }

private:
    std::vector<std::uint8_t> m_buffer;
};

} // namespace zephsim
