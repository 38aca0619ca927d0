#include "ControlInterpreter.h"

#include "RingFile.h"
#include "TextFields.h"

namespace zephsim {

namespace {

ControlResult failure(std::string message)
{
    ControlResult result;
    result.ok = false;
    result.error = std::move(message);
    return result;
}

std::string rest(std::string_view line, std::string_view word)
{
    // Everything after the given word of the line.
    const auto pos = static_cast<std::size_t>(word.data() + word.size() - line.data());
    return std::string(TextFields::trim(line.substr(pos)));
}

} // namespace

const char *ControlInterpreter::help()
{
    return "fault ID 1|2 on|off      set or clear the fault flag of a channel\n"
           "counter ID 1|2 N         set the error counter of a channel (0..32767)\n"
           "silent ID on|off         the module stops or starts answering\n"
           "set ID FIELD=VALUE...    change fields of a module (as in the ring file, except id)\n"
           "add MODULE-LINE          add a module at the end of the ring\n"
           "remove ID                take a module out of the ring\n"
           "raw HEXBYTES             send bytes to the PC as they are, e.g. raw 47 07 00\n"
           "restart                  power cycle: modes set by S are forgotten\n"
           "list                     print the ring in ring-file format\n"
           "echo TEXT                print TEXT (to see that earlier lines were done)\n"
           "help                     this text\n"
           "quit                     end the simulator\n";
}

ControlResult ControlInterpreter::execute(std::string_view line)
{
    const std::string_view text = TextFields::trim(line);
    const auto words = TextFields::words(TextFields::stripComment(text));
    if (words.empty())
        return {};
    const std::string_view command = words[0];

    auto moduleFor = [&](std::string_view idText, std::string &error) -> Module * {
        const auto id = TextFields::number(idText, 0xFFFF);
        if (!id) {
            error = "bad module id '" + std::string(idText) + "'";
            return nullptr;
        }
        Module *module = m_ring.find(static_cast<std::uint16_t>(*id));
        if (!module)
            error = "no module with id " + std::to_string(*id);
        return module;
    };
    auto channelFor = [](Module &module, std::string_view which) -> Channel * {
        if (which == "1")
            return &module.ch1;
        if (which == "2")
            return &module.ch2;
        return nullptr;
    };

    std::string error;
    if (command == "fault" || command == "counter") {
        if (words.size() != 4)
            return failure("usage: " + std::string(command) + " ID 1|2 " + (command == "fault" ? "on|off" : "N"));
        Module *module = moduleFor(words[1], error);
        if (!module)
            return failure(error);
        Channel *channel = channelFor(*module, words[2]);
        if (!channel)
            return failure("channel must be 1 or 2");
        if (command == "fault") {
            const auto on = TextFields::toggle(words[3]);
            if (!on)
                return failure("expected on or off");
            channel->fault = *on;
        } else {
            const auto value = TextFields::number(words[3], Module::kMaxCounter);
            if (!value)
                return failure("counter must be 0..32767");
            channel->counter = static_cast<std::uint16_t>(*value);
        }
        return {};
    }
    if (command == "silent") {
        if (words.size() != 3)
            return failure("usage: silent ID on|off");
        Module *module = moduleFor(words[1], error);
        if (!module)
            return failure(error);
        const auto on = TextFields::toggle(words[2]);
        if (!on)
            return failure("expected on or off");
        module->silent = *on;
        return {};
    }
    if (command == "set") {
        if (words.size() < 3)
            return failure("usage: set ID FIELD=VALUE...");
        Module *module = moduleFor(words[1], error);
        if (!module)
            return failure(error);
        if (!RingFile::applyFields(*module, rest(text, words[1]), error))
            return failure(error);
        return {};
    }
    if (command == "add") {
        auto module = RingFile::parseModule(rest(text, words[0]), error);
        if (!module)
            return failure(error);
        if (!m_ring.add(*module))
            return failure("a module with id " + std::to_string(module->id) + " is already in the ring");
        return {};
    }
    if (command == "remove") {
        if (words.size() != 2)
            return failure("usage: remove ID");
        if (!moduleFor(words[1], error))
            return failure(error);
        m_ring.remove(static_cast<std::uint16_t>(*TextFields::number(words[1], 0xFFFF)));
        return {};
    }
    if (command == "raw") {
        // The bytes are taken from the unstripped line: '#' is no comment here.
        const auto bytes = TextFields::hexBytes(rest(text, words[0]));
        if (!bytes || bytes->empty())
            return failure("usage: raw HEXBYTES, e.g. raw 47 07 00 29");
        ControlResult result;
        result.raw = *bytes;
        return result;
    }
    if (words.size() == 1 && command == "restart") {
        m_ring.restart();
        return {};
    }
    if (words.size() == 1 && command == "list") {
        ControlResult result;
        for (const Module &module : m_ring.modules())
            result.output += RingFile::format(module) + "\n";
        return result;
    }
    if (command == "echo") {
        ControlResult result;
        result.output = rest(text, words[0]) + "\n";
        return result;
    }
    if (words.size() == 1 && command == "help") {
        ControlResult result;
        result.output = help();
        return result;
    }
    if (words.size() == 1 && command == "quit") {
        ControlResult result;
        result.quit = true;
        return result;
    }
    return failure("unknown command '" + std::string(text) + "' (try help)");
}

} // namespace zephsim
