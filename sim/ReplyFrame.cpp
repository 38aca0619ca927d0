#include "ReplyFrame.h"

namespace zephsim {

namespace {
std::uint8_t counterHigh(const Channel &channel)
{
    const auto high = static_cast<std::uint8_t>((channel.counter >> 8) & 0x7F);
    return channel.fault ? static_cast<std::uint8_t>(high | 0x80) : high;
}
} // namespace

ReplyFrame::Bytes ReplyFrame::encode(const Module &module, char letter)
{
    return {
        static_cast<std::uint8_t>(letter),
        static_cast<std::uint8_t>(module.id & 0xFF),
        static_cast<std::uint8_t>(module.id >> 8),
        module.version,
        module.mode,
        static_cast<std::uint8_t>(module.ch2.counter & 0xFF),
        counterHigh(module.ch2),
        static_cast<std::uint8_t>(module.ch1.counter & 0xFF),
        counterHigh(module.ch1),
        10,
        13,
    };
}

} // namespace zephsim
