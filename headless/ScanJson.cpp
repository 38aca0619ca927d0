#include "headless/ScanJson.h"

#include "core/RingLog.h"
#include "model/ModuleTexts.h"

#include <QDateTime>
#include <QJsonArray>

namespace {
QString Time(int64_t epochMs) { return RingLog::TimeText(QDateTime::fromMSecsSinceEpoch(epochMs)); }
} // namespace

QJsonObject ScanJson(const RingScan &scan)
{
    QJsonArray modules;
    for (size_t position = 0; position < scan.modules.size(); ++position) {
        const ModuleSnapshot &module = scan.modules[position];
        modules.append(QJsonObject{
            {QStringLiteral("position"), int(position)},
            {QStringLiteral("id"), module.id},
            {QStringLiteral("side"), SideText(module.side)},
            {QStringLiteral("version"), VersionText(module.version)},
            {QStringLiteral("mode"), ModeHex(module.mode)},
            {QStringLiteral("ch1_faulty"), module.faulty1},
            {QStringLiteral("ch1_counter"), module.counter1},
            {QStringLiteral("ch2_faulty"), module.faulty2},
            {QStringLiteral("ch2_counter"), module.counter2},
            {QStringLiteral("time"), Time(module.parsedMs)},
        });
    }
    return QJsonObject{
        {QStringLiteral("serial"), qint64(scan.serial)},
        {QStringLiteral("origin"), scan.origin == ScanOrigin::AutoRefresh ? QStringLiteral("auto") : QStringLiteral("menu")},
        {QStringLiteral("sent"), Time(scan.sentMs)},
        {QStringLiteral("port"), scan.portNumber},
        {QStringLiteral("device"), scan.device},
        {QStringLiteral("cut"), scan.cut},
        {QStringLiteral("modules"), modules},
    };
}
