#include "headless/CommandLine.h"

#include <cstring>

const QString CommandLine::kUsage = QStringLiteral(
    "usage: zephlink9-setup [--headless | --check [--json] [--window TIME]] [--config PATH]\n"
    "  (no option)     the program with its windows\n"
    "  --headless      watch the ring without a window: a scan every scan_interval seconds, events on standard output\n"
    "  --check         scan once; exit 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN\n"
    "  --json          with --check: the scan's record as JSON instead of the summary line\n"
    "  --window TIME   with --check: warn of a counter increased within TIME (s, m or h; 15m by default)\n"
    "  --config PATH   the configuration file instead of the one beside the program\n"
    "  --version       the program's version\n"
    "  --help          this text\n");

int64_t CommandLine::DurationMs(const QString &text)
{
    static const QString kUnits = QStringLiteral("smh");
    static constexpr int64_t kUnitMs[] = {1000, 60000, 3600000};
    const qsizetype unit = text.isEmpty() ? -1 : kUnits.indexOf(text.back());
    bool ok = false;
    const qint64 count = (unit < 0 ? text : text.chopped(1)).toLongLong(&ok);
    // Up to a year: further back than any history keeps scans one by one.
    constexpr int64_t kYearS = int64_t(366) * 86400;
    const int64_t ms = ok && count > 0 && count <= kYearS ? count * kUnitMs[unit < 0 ? 0 : unit] : -1;
    return ok && count > 0 && count <= kYearS && ms <= kYearS * 1000 ? ms : -1;
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
    bool window = false;
    for (int k = 0; k < arguments.size(); ++k) {
        const QString &argument = arguments[k];
        if (argument == QLatin1String("--headless")) {
            watch = true;
        } else if (argument == QLatin1String("--check")) {
            check = true;
        } else if (argument == QLatin1String("--json")) {
            line.json = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("--version")) {
            line.mode = argument == QLatin1String("--help") ? Mode::Help : Mode::Version;
            return line;
        } else if (argument == QLatin1String("--window") || argument.startsWith(QLatin1String("--window="))) {
            if (window)
                return fail(QStringLiteral("--window given twice"));
            window = true;
            const QString value = argument == QLatin1String("--window") ? arguments.value(++k) : argument.mid(9);
            line.windowMs = DurationMs(value);
            if (line.windowMs < 0)
                return fail(QStringLiteral("--window %1: not a time such as 900s, 15m or 1h").arg(value));
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
        return fail(QStringLiteral("--config, --json and --window need --headless or --check"));
    if ((line.json || window) && !check)
        return fail(QStringLiteral("--json and --window need --check"));
    line.mode = check ? Mode::Check : Mode::Watch;
    return line;
}
