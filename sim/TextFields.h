// Small parsing helpers shared by the ring file and the control commands:
// whitespace words, decimal or 0x numbers, on/off switches.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zephsim {

class TextFields {
public:
    static std::string_view stripComment(std::string_view line);
    static std::string_view trim(std::string_view text);
    static std::vector<std::string_view> words(std::string_view text);
    // Decimal, or hexadecimal with a 0x prefix; nullopt when malformed or above max.
    static std::optional<unsigned long> number(std::string_view text, unsigned long max);
    // on/off, yes/no, 1/0, true/false.
    static std::optional<bool> toggle(std::string_view text);
    // Hex digits in pairs; blanks, commas and colons between bytes are allowed.
    static std::optional<std::vector<std::uint8_t>> hexBytes(std::string_view text);
};

} // namespace zephsim
