#include "RingFile.h"

#include "TextFields.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace zephsim {

namespace {

std::optional<Channel> parseChannel(std::string_view text)
{
    Channel channel;
    const auto colon = text.find(':');
    const std::string_view state = text.substr(0, colon);
    if (state == "ok")
        channel.fault = false;
    else if (state == "fault")
        channel.fault = true;
    else
        return std::nullopt;
    if (colon != std::string_view::npos) {
        const auto counter = TextFields::number(text.substr(colon + 1), Module::kMaxCounter);
        if (!counter)
            return std::nullopt;
        channel.counter = static_cast<std::uint16_t>(*counter);
    }
    return channel;
}

bool applyField(Module &module, std::string_view key, std::string_view value, std::string &error)
{
    auto fail = [&](const char *what) {
        error = std::string(key) + "=" + std::string(value) + ": " + what;
        return false;
    };
    if (key == "id") {
        const auto id = TextFields::number(value, 0xFFFF);
        if (!id)
            return fail("expected a number 0..65535");
        module.id = static_cast<std::uint16_t>(*id);
    } else if (key == "side") {
        if (value != "G" && value != "L" && value != "R")
            return fail("expected G, L or R");
        module.side = value[0];
    } else if (key == "version") {
        const auto version = TextFields::number(value, 0xFF);
        if (!version)
            return fail("expected a number 0..255 (tenths, 41 = 4.1)");
        module.version = static_cast<std::uint8_t>(*version);
    } else if (key == "mode") {
        const auto mode = TextFields::number(value, 0xFF);
        if (!mode)
            return fail("expected a byte, e.g. 0x4B or 75");
        module.mode = module.storedMode = static_cast<std::uint8_t>(*mode);
    } else if (key == "ch1" || key == "ch2") {
        const auto channel = parseChannel(value);
        if (!channel)
            return fail("expected ok or fault, optionally :counter (0..32767)");
        (key == "ch1" ? module.ch1 : module.ch2) = *channel;
    } else if (key == "silent") {
        const auto silent = TextFields::toggle(value);
        if (!silent)
            return fail("expected yes or no");
        module.silent = *silent;
    } else if (key == "writes") {
        if (value != "apply" && value != "ignore")
            return fail("expected apply or ignore");
        module.ignoresWrites = value == "ignore";
    } else {
        error = "unknown field '" + std::string(key) + "'";
        return false;
    }
    return true;
}

bool applyAll(Module &module, std::string_view fields, bool allowId, std::set<std::string> &seen, std::string &error)
{
    for (std::string_view word : TextFields::words(TextFields::stripComment(fields))) {
        const auto eq = word.find('=');
        if (eq == std::string_view::npos || eq == 0) {
            error = "expected key=value, got '" + std::string(word) + "'";
            return false;
        }
        const std::string key(word.substr(0, eq));
        if (key == "id" && !allowId) {
            error = "the id of a module cannot be changed";
            return false;
        }
        if (!seen.insert(key).second) {
            error = "field '" + key + "' given twice";
            return false;
        }
        if (!applyField(module, key, word.substr(eq + 1), error))
            return false;
    }
    return true;
}

std::string channelText(const Channel &channel)
{
    return std::string(channel.fault ? "fault:" : "ok:") + std::to_string(channel.counter);
}

} // namespace

std::optional<Module> RingFile::parseModule(std::string_view line, std::string &error)
{
    Module module;
    std::set<std::string> seen;
    if (!applyAll(module, line, true, seen, error))
        return std::nullopt;
    if (!seen.count("id")) {
        error = "missing id=";
        return std::nullopt;
    }
    if (!seen.count("side")) {
        error = "missing side=";
        return std::nullopt;
    }
    return module;
}

bool RingFile::applyFields(Module &module, std::string_view fields, std::string &error)
{
    Module changed = module;
    std::set<std::string> seen;
    if (!applyAll(changed, fields, false, seen, error))
        return false;
    if (seen.empty()) {
        error = "no fields given";
        return false;
    }
    // A mode given here changes the running mode only, as an S command would.
    if (seen.count("mode"))
        changed.storedMode = module.storedMode;
    module = changed;
    return true;
}

std::optional<std::vector<Module>> RingFile::parseRing(std::string_view text, std::vector<std::string> &errors)
{
    std::vector<Module> modules;
    std::set<std::uint16_t> ids;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (TextFields::trim(TextFields::stripComment(line)).empty())
            continue;
        std::string error;
        auto module = parseModule(line, error);
        if (!module) {
            errors.push_back("line " + std::to_string(lineNumber) + ": " + error);
            continue;
        }
        if (!ids.insert(module->id).second) {
            errors.push_back("line " + std::to_string(lineNumber) + ": duplicate id " + std::to_string(module->id));
            continue;
        }
        modules.push_back(*module);
    }
    if (!errors.empty())
        return std::nullopt;
    return modules;
}

std::optional<std::vector<Module>> RingFile::load(const std::string &path, std::vector<std::string> &errors)
{
    std::ifstream in(path);
    if (!in) {
        errors.push_back("cannot read " + path);
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseRing(text.str(), errors);
}

std::string RingFile::format(const Module &module)
{
    char mode[8];
    std::snprintf(mode, sizeof mode, "0x%02X", module.mode);
    std::string line = "id=" + std::to_string(module.id) + " side=" + module.side + " version=" +
                       std::to_string(module.version) + " mode=" + mode + " ch1=" + channelText(module.ch1) +
                       " ch2=" + channelText(module.ch2) + " silent=" + (module.silent ? "yes" : "no");
    if (module.ignoresWrites)
        line += " writes=ignore";
    if (module.storedMode != module.mode) {
        std::snprintf(mode, sizeof mode, "0x%02X", module.storedMode);
        line += std::string(" # stored mode ") + mode;
    }
    return line;
}

std::vector<Module> RingFile::defaultRing(unsigned count)
{
    std::vector<Module> modules;
    for (unsigned i = 1; i <= count; ++i) {
        Module module;
        module.id = static_cast<std::uint16_t>(i);
        module.side = i == 1 ? 'G' : (i % 2 == 0 ? 'L' : 'R');
        modules.push_back(module);
    }
    return modules;
}

} // namespace zephsim
