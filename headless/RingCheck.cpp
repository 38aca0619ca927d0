#include "headless/RingCheck.h"

#include "model/RingComparison.h"

#include <QStringList>

namespace {

constexpr int kTextsShown = 5;

QString Summary(const QStringList &texts)
{
    QStringList shown = texts.mid(0, kTextsShown);
    if (texts.size() > kTextsShown)
        shown << QStringLiteral("and %1 more").arg(texts.size() - kTextsShown);
    return shown.join(QStringLiteral("; "));
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

RingCheck RingCheck::Judge(const RingKeeper &keeper)
{
    const RingScan &scan = keeper.LastScan();
    QStringList critical;
    QStringList warning;
    int faulty = 0;
    int missing = 0;
    if (!scan.Found())
        critical << QStringLiteral("No modules found");
    for (const ModuleSnapshot &module : scan.modules) {
        const bool channels[2] = {module.faulty1, module.faulty2};
        for (int channel = 1; channel <= 2; ++channel) {
            if (channels[channel - 1]) {
                ++faulty;
                critical << QStringLiteral("Module %1 channel %2 faulty").arg(module.id).arg(channel);
            }
            if (const int increase = keeper.Increase(module.id, channel); increase > 0)
                warning << QStringLiteral("Module %1 channel %2 error counter +%3").arg(module.id).arg(channel).arg(increase);
        }
    }
    if (keeper.Reference()) {
        for (const RingEvent &difference : ReferenceDifferences(scan.modules, *keeper.Reference())) {
            const bool gone = difference.kind == RingEventKind::Missing;
            missing += int(gone);
            (gone ? critical : warning) << difference.text;
        }
    }

    RingCheck check;
    QString text;
    if (!critical.isEmpty()) {
        check.status = Status::Critical;
        text = Summary(critical + warning);
    } else if (!warning.isEmpty()) {
        check.status = Status::Warning;
        text = Summary(warning);
    } else {
        check.status = Status::Ok;
        text = keeper.Reference() ? QStringLiteral("%1 modules sound, as the reference").arg(scan.modules.size())
                                  : QStringLiteral("%1 modules sound").arg(scan.modules.size());
    }
    check.line = QStringLiteral("%1: %2 | modules=%3 faulty=%4 missing=%5")
                     .arg(Word(check.status), text)
                     .arg(scan.modules.size())
                     .arg(faulty)
                     .arg(missing);
    return check;
}
