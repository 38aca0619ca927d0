#include "headless/RingCheck.h"

#include "history/RingHistory.h"
#include "model/RingComparison.h"

#include <QStringList>
#include <limits>
#include <map>

namespace {

// The status word and the findings, before the performance data: what a pager shows.
constexpr int kSummaryWidth = 79;

// As many findings as fit in room, the first first, then how many more there are.
QString Findings(const QStringList &texts, int room)
{
    QString shown;
    for (int k = 1; k <= texts.size(); ++k) {
        QString candidate = texts.mid(0, k).join(QStringLiteral("; "));
        if (k < texts.size())
            candidate += QStringLiteral("; and %1 more").arg(texts.size() - k);
        if (candidate.size() > room)
            break;
        shown = candidate;
    }
    return shown.isEmpty() ? QStringLiteral("%1 findings").arg(texts.size()) : shown;
}

// 'label'=value[UOM];warn;crit;min, the label quoted where it holds a space, = or '. A warn or
// crit of "0" is the plugins' range 0:0: above 0 is out of it.
QString PerfDatum(const QString &label, qint64 value, const char *uom, const char *warn, const char *crit)
{
    QString name = label;
    if (name.contains(QLatin1Char(' ')) || name.contains(QLatin1Char('=')) || name.contains(QLatin1Char('\'')))
        name = QLatin1Char('\'') + name.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    return name + QLatin1Char('=') + QString::number(value) + QLatin1String(uom) + QLatin1Char(';') + QLatin1String(warn)
           + QLatin1Char(';') + QLatin1String(crit) + QLatin1String(";0");
}

} // namespace

QString RingCheck::Word(Status status)
{
    switch (status) {
    case Status::Ok: return QStringLiteral("OK");
    case Status::Warning: return QStringLiteral("WARNING");
    case Status::Critical: return QStringLiteral("CRITICAL");
    case Status::Unknown: break;
    }
    return QStringLiteral("UNKNOWN");
}

RingCheck RingCheck::Unknown(const QString &why)
{
    return {Status::Unknown, QStringLiteral("UNKNOWN: %1").arg(why)};
}

std::vector<ChannelTotal> RingCheck::WindowIncreases(RingHistory &history, int port, int64_t nowMs, int64_t windowMs)
{
    constexpr int64_t kMinuteMs = 60000;
    const int64_t fromMs = (nowMs - windowMs) / kMinuteMs * kMinuteMs;
    std::vector<ChannelTotal> increases =
        history.WorstChannels(port, fromMs, nowMs + 1, std::numeric_limits<size_t>::max());
    std::erase_if(increases, [](const ChannelTotal &total) { return total.increase <= 0; });
    return increases;
}

RingCheck RingCheck::Judge(const RingKeeper &keeper, const std::vector<ChannelTotal> &increases)
{
    std::map<std::pair<int, int>, int64_t> increaseOf;
    for (const ChannelTotal &total : increases)
        increaseOf[{total.id, total.channel}] = total.increase;
    static const RingSnapshot kNone;
    const RingScan &scan = keeper.LastScan();
    // A cut scan is no ring: it is judged as one that found none.
    const RingSnapshot &modules = scan.cut ? kNone : scan.modules;
    QStringList critical;
    QStringList warning;
    int faulty = 0;
    int missing = 0;
    qint64 errors = 0;
    QStringList channelData;
    if (scan.cut)
        critical << QStringLiteral("Scan cut: the port was lost");
    else if (modules.empty())
        critical << QStringLiteral("No modules found");
    for (const ModuleSnapshot &module : modules) {
        const bool channels[2] = {module.faulty1, module.faulty2};
        errors += module.counter1 + module.counter2;
        for (int channel = 1; channel <= 2; ++channel) {
            if (channels[channel - 1]) {
                ++faulty;
                critical << QStringLiteral("Module %1 channel %2 faulty").arg(module.id).arg(channel);
            }
            const auto found = increaseOf.find({module.id, channel});
            const int64_t increase = found == increaseOf.end() ? 0 : found->second;
            if (increase > 0)
                warning << QStringLiteral("Module %1 channel %2 error counter +%3").arg(module.id).arg(channel).arg(increase);
            const QString label = QStringLiteral("m%1_ch%2").arg(module.id).arg(channel);
            channelData << PerfDatum(label, channel == 1 ? module.counter1 : module.counter2, "c", "", "")
                        << PerfDatum(label + QLatin1String("_increase"), increase, "", "0", "");
        }
    }
    if (keeper.Reference()) {
        for (const RingEvent &difference : ReferenceDifferences(modules, *keeper.Reference())) {
            const bool gone = difference.kind == RingEventKind::Missing;
            missing += int(gone);
            (gone ? critical : warning) << difference.text;
        }
    }

    RingCheck check;
    check.status = !critical.isEmpty() ? Status::Critical : !warning.isEmpty() ? Status::Warning : Status::Ok;
    const int room = kSummaryWidth - int(Word(check.status).size()) - 2;
    QString text;
    if (check.status != Status::Ok)
        text = Findings(critical + warning, room);
    else
        text = keeper.Reference() ? QStringLiteral("%1 modules sound, as the reference").arg(modules.size())
                                  : QStringLiteral("%1 modules sound").arg(modules.size());
    QStringList performance{PerfDatum(QStringLiteral("modules"), qint64(modules.size()), "", "", ""),
                            PerfDatum(QStringLiteral("faulty"), faulty, "", "", "0"),
                            PerfDatum(QStringLiteral("missing"), missing, "", "", "0")};
    // The channels' own counters, summed: a grapher takes their rate; no ring, no reading.
    if (!modules.empty())
        performance << PerfDatum(QStringLiteral("errors"), errors, "c", "", "") << channelData;
    check.line = QStringLiteral("%1: %2 | %3").arg(Word(check.status), text, performance.join(QLatin1Char(' ')));
    return check;
}
