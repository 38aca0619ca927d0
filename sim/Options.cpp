#include "Options.h"

#include "TextFields.h"

namespace zephsim {

const char *Options::usage()
{
    return "usage: zephlink9-ringsim [options]\n"
           "Simulates a ring of ZEPHLINK9 modules behind a pseudo-terminal. The first\n"
           "line on stdout is the terminal's path; open it as the program's serial port.\n"
           "\n"
           "  --modules N        ring of N modules, IDs 1..N, module 1 attached (default 4)\n"
           "  --ring FILE        ring described in FILE, one module per line:\n"
           "                     id=7 side=G version=41 mode=0x4B ch1=fault:12 ch2=ok:0 silent=no writes=apply\n"
           "  --state FILE       keep the mode bytes stored with W in FILE across restarts\n"
           "  --link PATH        make PATH a symbolic link to the terminal (removed at exit)\n"
           "  --control FIFO     read control lines from FIFO (created if missing) instead of stdin\n"
           "  --exit-on-eof      end when the control input reaches end of file\n"
           "  --no-pacing        send replies at once instead of at wire speed\n"
           "  --baud N           wire speed for the pacing (default 9600, 8N1)\n"
           "  --trace            log each command and how many reply bytes it got on stderr\n"
           "  --help             this text\n"
           "\n"
           "Control lines:\n";
}

std::optional<Options> Options::parse(const std::vector<std::string> &args, std::string &error)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        auto flag = [&]() {
            if (inlineValue) {
                error = name + " takes no value";
                return false;
            }
            return true;
        };

        if (name == "--modules") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            const auto n = TextFields::number(*text, 32000);
            if (!n) {
                error = "--modules needs a number 0..32000";
                return std::nullopt;
            }
            options.modules = static_cast<unsigned>(*n);
            options.modulesGiven = true;
        } else if (name == "--baud") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            const auto n = TextFields::number(*text, 4000000);
            if (!n || *n < 50) {
                error = "--baud needs a number 50..4000000";
                return std::nullopt;
            }
            options.baud = static_cast<unsigned>(*n);
        } else if (name == "--ring" || name == "--state" || name == "--link" || name == "--control") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            if (text->empty()) {
                error = name + " needs a path";
                return std::nullopt;
            }
            (name == "--ring"    ? options.ringFile
             : name == "--state" ? options.stateFile
             : name == "--link"  ? options.linkPath
                                 : options.controlFifo) = *text;
        } else if (name == "--exit-on-eof") {
            if (!flag())
                return std::nullopt;
            options.exitOnEof = true;
        } else if (name == "--trace") {
            if (!flag())
                return std::nullopt;
            options.trace = true;
        } else if (name == "--no-pacing") {
            if (!flag())
                return std::nullopt;
            options.pacing = false;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else {
            error = "unknown argument '" + args[i] + "'";
            return std::nullopt;
        }
    }
    if (options.modulesGiven && !options.ringFile.empty()) {
        error = "--modules and --ring exclude each other";
        return std::nullopt;
    }
    return options;
}

} // namespace zephsim
