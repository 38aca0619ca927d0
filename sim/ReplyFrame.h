// Encodes the 11-byte reply a module sends back: letter, ID, version, mode byte,
// both error counters with their fault bits, then 10, 13.
#pragma once

#include "Module.h"

#include <array>
#include <cstdint>

namespace zephsim {

class ReplyFrame {
public:
    static constexpr std::size_t kSize = 11;
    using Bytes = std::array<std::uint8_t, kSize>;

    static Bytes encode(const Module &module, char letter);
};

} // namespace zephsim
