#include "history/HistoryThinner.h"

#include "history/HistorySchema.h"
#include "history/RingOrderBlob.h"
#include "history/StoredRow.h"
#include "model/EventList.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <limits>

namespace {
const QString kUntilKey = QStringLiteral("thinned_until_s");
int64_t HourFloor(int64_t seconds) { return seconds - ((seconds % HistoryThinner::kHourS) + HistoryThinner::kHourS) % HistoryThinner::kHourS; }
} // namespace

HistoryThinner::HistoryThinner(const QSqlDatabase &db)
    : mDb(db)
{
}

bool HistoryThinner::Exec(const QString &statement, const QVariantList &values, QSqlQuery *out)
{
    QSqlQuery query(mDb);
    query.setForwardOnly(true);
    bool ok = query.prepare(statement);
    for (int k = 0; ok && k < values.size(); ++k)
        query.bindValue(k, values[k]);
    if (!ok || !query.exec()) {
        mError = query.lastError();
        return false;
    }
    if (out)
        *out = std::move(query);
    return true;
}

bool HistoryThinner::LoadUntil(bool &found)
{
    QSqlQuery query;
    if (!Exec(QStringLiteral("SELECT value FROM settings WHERE key = ?"), {kUntilKey}, &query))
        return false;
    // A value no thinning can have left is passed over: the first scan kept tells it anew.
    StoredRow row(QString{});
    found = query.next();
    if (found)
        mUntilS = row.Int(query.value(0), "value", 0, kLastStoredMs / 1000);
    found = found && row.Ok();
    return true;
}

bool HistoryThinner::SaveUntil(int64_t untilS)
{
    if (!Exec(QStringLiteral("INSERT OR REPLACE INTO settings(key, value) VALUES(?, ?)"), {kUntilKey, qint64(untilS)}))
        return false;
    mUntilS = untilS;
    return true;
}

bool HistoryThinner::Ports(std::vector<int> &ports)
{
    // Each port's scans lie together: one look per port. A port that is no whole number is
    // passed over.
    QVariant after = -1;
    for (;;) {
        QSqlQuery query;
        if (!Exec(QStringLiteral("SELECT port FROM scans WHERE port > ? ORDER BY port LIMIT 1"), {after}, &query))
            return false;
        if (!query.next())
            return true;
        after = query.value(0);
        StoredRow row(QString{});
        const int port = int(row.Int(after, "port", std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        if (row.Ok())
            ports.push_back(port);
    }
}

bool HistoryThinner::FirstScanFrom(int64_t fromS, std::optional<int64_t> &firstS)
{
    std::vector<int> ports;
    if (!Ports(ports))
        return false;
    for (int port : ports) {
        QSqlQuery query;
        if (!Exec(QStringLiteral("SELECT time_ms FROM scans WHERE port = ? AND time_ms >= ? ORDER BY time_ms LIMIT 1"),
                  {port, qint64(fromS * 1000)}, &query))
            return false;
        if (query.next()) {
            const int64_t seconds = query.value(0).toLongLong() / 1000;
            firstS = firstS ? std::min(*firstS, seconds) : seconds;
        }
    }
    return true;
}

bool HistoryThinner::Prepare(int64_t hourS)
{
    mHourS = hourS;
    mPorts.clear();
    std::vector<int> ports;
    if (!Ports(ports))
        return false;
    for (int port : ports) {
        PortHour hour;
        hour.port = port;
        QSqlQuery query;
        if (!Exec(QStringLiteral("SELECT ring, count(*) FROM scans WHERE port = ? AND time_ms >= ? AND time_ms < ?"
                                 " GROUP BY ring"),
                  {port, qint64(hourS * 1000), qint64((hourS + kHourS) * 1000)}, &query))
            return false;
        std::vector<std::pair<qint64, int>> rings;
        while (query.next()) {
            hour.scans += query.value(1).toInt();
            if (!query.value(0).isNull())
                rings.emplace_back(query.value(0).toLongLong(), query.value(1).toInt());
        }
        for (const auto &[ring, scans] : rings) {
            hour.rings.insert(ring);
            QSqlQuery ids;
            if (!Exec(QStringLiteral("SELECT ids FROM rings WHERE id = ?"), {ring}, &ids))
                return false;
            StoredRow row(QString{});
            if (ids.next()) {
                for (int id : RingOrderIds(ids.value(0), row))
                    hour.answered[id] += scans;
            }
        }
        if (hour.scans > 0)
            mPorts.push_back(std::move(hour));
    }
    return true;
}

bool HistoryThinner::ThinModule(const PortHour &hour, int id, int answered)
{
    const qint64 from = mHourS;
    const qint64 to = mHourS + kHourS;
    QSqlQuery sums;
    if (!Exec(QStringLiteral("SELECT total(increase1), total(increase2), total(faulty1_ms), total(faulty2_ms)"
                             " FROM module_periods WHERE port = ? AND module = ? AND start_s >= ? AND start_s < ?"),
              {hour.port, id, from, to}, &sums))
        return false;
    sums.next();
    const QVariantList totals{StoredTotal(sums.value(0)), StoredTotal(sums.value(1)), StoredTotal(sums.value(2)),
                              StoredTotal(sums.value(3))};
    sums.finish();
    return Exec(QStringLiteral("DELETE FROM module_periods WHERE port = ? AND module = ? AND start_s >= ? AND start_s < ?"),
                {hour.port, id, from, to})
        && Exec(QStringLiteral("INSERT INTO module_periods(port, module, start_s, increase1, increase2, faulty1_ms,"
                               " faulty2_ms, answered) VALUES(?, ?, ?, ?, ?, ?, ?, ?)"),
                {hour.port, id, from, totals[0], totals[1], totals[2], totals[3], answered})
        // Its last row stays: it is the module as the history last saw it.
        && Exec(QStringLiteral("DELETE FROM module_rows WHERE port = ? AND module = ? AND time_ms >= ? AND time_ms < ?"
                               " AND time_ms < (SELECT max(time_ms) FROM module_rows WHERE port = ? AND module = ?)"),
                {hour.port, id, from * 1000, to * 1000, hour.port, id});
}

bool HistoryThinner::FinishPort(const PortHour &hour)
{
    const qint64 from = mHourS * 1000;
    const qint64 to = (mHourS + kHourS) * 1000;
    // The port's last scan that found modules stays, with its ring: the next run counts from it.
    QSqlQuery last;
    if (!Exec(QStringLiteral("SELECT time_ms, ring FROM scans WHERE port = ? AND time_ms = (%1)").arg(kLastFoundMsSql),
              {hour.port, hour.port, hour.port}, &last))
        return false;
    const qint64 keptMs = last.next() ? last.value(0).toLongLong() : -1;
    const qint64 keptRing = keptMs >= 0 ? last.value(1).toLongLong() : -1;
    last.finish();
    QSqlQuery next;
    if (!Exec(QStringLiteral("SELECT ring FROM scans WHERE port = ? AND time_ms >= ? AND ring IS NOT NULL"
                             " ORDER BY time_ms LIMIT 1"),
              {hour.port, to}, &next))
        return false;
    const qint64 usedLater = next.next() ? next.value(0).toLongLong() : -1;
    next.finish();
    if (!Exec(QStringLiteral("INSERT OR REPLACE INTO scan_hours(port, start_s, scans) VALUES(?, ?, ?)"),
              {hour.port, qint64(mHourS), hour.scans})
        || !Exec(QStringLiteral("DELETE FROM scans WHERE port = ? AND time_ms >= ? AND time_ms < ? AND time_ms != ?"),
                 {hour.port, from, to, keptMs}))
        return false;
    for (qint64 ring : hour.rings) {
        if (ring != keptRing && ring != usedLater && !Exec(QStringLiteral("DELETE FROM rings WHERE id = ?"), {ring}))
            return false;
    }
    return true;
}

bool HistoryThinner::ThinEvents(bool &more)
{
    QSqlQuery query;
    if (!Exec(QStringLiteral("DELETE FROM events WHERE id IN (SELECT id FROM events WHERE id <= (SELECT id FROM events"
                             " ORDER BY id DESC LIMIT 1 OFFSET ?) ORDER BY id LIMIT ?)"),
              {qint64(EventList::kLimit), kEventsPerStep}, &query))
        return false;
    more = more || query.numRowsAffected() == kEventsPerStep;
    return true;
}

bool HistoryThinner::Step(int64_t nowMs, int keepDays, bool &more)
{
    more = false;
    if (!ThinEvents(more))
        return false;
    if (nowMs < 0)
        return true;
    const int64_t cutoffS = HourFloor(nowMs / 1000 - int64_t(keepDays) * 86400);
    if (mUntilS < 0) {
        bool found = false;
        if (!LoadUntil(found))
            return false;
        if (!found) {
            std::optional<int64_t> firstS;
            if (!FirstScanFrom(0, firstS))
                return false;
            mUntilS = firstS ? HourFloor(*firstS) : cutoffS;
        }
    }
    if (mHourS != mUntilS) {
        if (mUntilS + kHourS > cutoffS)
            return true;
        if (!Prepare(mUntilS))
            return false;
        if (mPorts.empty()) {
            // Nothing was scanned in that hour: on to the next one that has scans.
            std::optional<int64_t> firstS;
            if (!FirstScanFrom(mUntilS, firstS))
                return false;
            mHourS = -1;
            more = more || (firstS && HourFloor(*firstS) + kHourS <= cutoffS);
            return SaveUntil(firstS ? std::min(HourFloor(*firstS), cutoffS) : cutoffS);
        }
    }
    QElapsedTimer timer;
    timer.start();
    while (!mPorts.empty()) {
        PortHour &hour = mPorts.front();
        for (auto it = hour.answered.lower_bound(hour.nextModule); it != hour.answered.end(); ++it) {
            if (timer.elapsed() >= kStepBudgetMs) {
                hour.nextModule = it->first;
                more = true;
                return true;
            }
            if (!ThinModule(hour, it->first, it->second))
                return false;
        }
        if (!FinishPort(hour))
            return false;
        mPorts.erase(mPorts.begin());
    }
    mHourS = -1;
    more = more || mUntilS + 2 * kHourS <= cutoffS;
    return SaveUntil(mUntilS + kHourS);
}
