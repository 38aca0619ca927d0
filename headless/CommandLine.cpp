#include "headless/CommandLine.h"

#include <cstring>

namespace {
const char *const kOptions[] = {"--headless", "--check", "--json", "--config", "--help"};
}

const QString CommandLine::kUsage = QStringLiteral(
    "usage: zephlink9-setup [--headless | --check [--json]] [--config PATH]\n"
    "  (no option)     the program with its windows\n"
    "  --headless      watch the ring without a window: a scan every 10 s, events on standard output\n"
    "  --check         scan once; exit 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN\n"
    "  --json          with --check: the scan's record as JSON instead of the summary line\n"
    "  --config PATH   the configuration file instead of the one beside the program\n");

bool CommandLine::WantsNoWindow(int argc, const char *const *argv)
{
    for (int k = 1; k < argc; ++k)
        for (const char *option : kOptions)
            if (std::strncmp(argv[k], option, std::strlen(option)) == 0)
                return true;
    return false;
}

CommandLine CommandLine::Parse(const QStringList &arguments)
{
    CommandLine line;
    const auto fail = [&line](const QString &problem) {
        line.problem = problem;
        return line;
    };
    bool watch = false;
    bool check = false;
    for (int k = 0; k < arguments.size(); ++k) {
        const QString &argument = arguments[k];
        if (argument == QLatin1String("--headless")) {
            watch = true;
        } else if (argument == QLatin1String("--check")) {
            check = true;
        } else if (argument == QLatin1String("--json")) {
            line.json = true;
        } else if (argument == QLatin1String("--help")) {
            line.mode = Mode::Help;
            return line;
        } else if (argument == QLatin1String("--config") || argument.startsWith(QLatin1String("--config="))) {
            if (!line.configPath.isEmpty())
                return fail(QStringLiteral("--config given twice"));
            line.configPath = argument == QLatin1String("--config") ? arguments.value(++k) : argument.mid(9);
            if (line.configPath.isEmpty())
                return fail(QStringLiteral("--config needs the path of a configuration file"));
        } else {
            return fail(QStringLiteral("unknown option: %1").arg(argument));
        }
    }
    if (watch && check)
        return fail(QStringLiteral("--headless and --check exclude each other"));
    if (!watch && !check)
        return fail(QStringLiteral("--config and --json need --headless or --check"));
    if (line.json && !check)
        return fail(QStringLiteral("--json needs --check"));
    line.mode = check ? Mode::Check : Mode::Watch;
    return line;
}
