#include "TextFields.h"

#include <charconv>

namespace zephsim {

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

std::string_view TextFields::stripComment(std::string_view line)
{
    const auto hash = line.find('#');
    return hash == std::string_view::npos ? line : line.substr(0, hash);
}

std::string_view TextFields::trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> TextFields::words(std::string_view text)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start)
            out.push_back(text.substr(start, i - start));
    }
    return out;
}

std::optional<unsigned long> TextFields::number(std::string_view text, unsigned long max)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

std::optional<bool> TextFields::toggle(std::string_view text)
{
    if (text == "on" || text == "yes" || text == "1" || text == "true")
        return true;
    if (text == "off" || text == "no" || text == "0" || text == "false")
        return false;
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> TextFields::hexBytes(std::string_view text)
{
    std::vector<std::uint8_t> out;
    int high = -1;
    for (char c : text) {
        if (isBlank(c) || c == ',' || c == ':') {
            if (high >= 0)
                return std::nullopt;
            continue;
        }
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return out;
}

} // namespace zephsim
