#include "history/TrendQueries.h"

#include "history/RingOrderBlob.h"
#include "model/Global.h"

#include <QSqlQuery>
#include <algorithm>
#include <limits>
#include <map>

namespace {

QSqlQuery Run(const QSqlDatabase &db, const char *statement, const QVariantList &values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (query.prepare(QString::fromLatin1(statement))) {
        for (int k = 0; k < values.size(); ++k)
            query.bindValue(k, values[k]);
        query.exec();
    }
    return query;
}

qint64 Seconds(int64_t ms) { return qint64((ms + 999) / 1000); }

// A sum of scans, as many as a count can hold.
int Count(const QVariant &total) { return int(std::min<qint64>(StoredTotal(total), std::numeric_limits<int>::max() / 4)); }

} // namespace

TrendQueries::TrendQueries(const QSqlDatabase &db, int64_t thinnedUntilMs)
    : mDb(db), mThinnedUntilMs(thinnedUntilMs)
{
}

bool TrendQueries::Damaged(const StoredRow &row)
{
    if (mProblem.isEmpty())
        mProblem = row.Problem();
    return row.Ok();
}

const std::vector<int> &TrendQueries::Ring(qint64 id)
{
    auto known = mRings.find(id);
    if (known != mRings.end())
        return known->second;
    QSqlQuery query = Run(mDb, "SELECT ids, port FROM rings WHERE id = ?", {id});
    std::vector<int> ids;
    if (query.next()) {
        StoredRow row(QStringLiteral("Ring %1 of port %2").arg(id).arg(StoredValueText(query.value(1))));
        ids = RingOrderIds(query.value(0), row);
        Damaged(row);
    }
    std::sort(ids.begin(), ids.end());
    return mRings.emplace(id, std::move(ids)).first->second;
}

void TrendQueries::SumPerModule(int port, const QString &sums, int64_t fromMs, int64_t toMs,
                                const std::function<void(int id, const QSqlQuery &totals)> &call)
{
    QSqlQuery next(mDb);
    next.setForwardOnly(true);
    next.prepare(QStringLiteral("SELECT module FROM module_periods WHERE port = ? AND module > ? ORDER BY module LIMIT 1"));
    QSqlQuery totals(mDb);
    totals.setForwardOnly(true);
    totals.prepare(QStringLiteral("SELECT %1 FROM module_periods WHERE port = ? AND module = ? AND start_s >= ?"
                                  " AND start_s < ?").arg(sums));
    // Each module's rows lie together: one look for the next module, one for its sums.
    for (QVariant stored = -1;;) {
        next.bindValue(0, port);
        next.bindValue(1, stored);
        if (!next.exec() || !next.next())
            return;
        stored = next.value(0);
        next.finish();
        StoredRow row(QStringLiteral("Sums of port %1").arg(port));
        const int id = int(row.Int(stored, "module", 0, kMaxModuleID));
        if (!Damaged(row))
            continue;
        const QVariantList values{port, id, Seconds(fromMs), Seconds(toMs)};
        for (int k = 0; k < values.size(); ++k)
            totals.bindValue(k, values[k]);
        if (totals.exec() && totals.next())
            call(id, totals);
        totals.finish();
    }
}

QString TrendQueries::RingsWithout(int port, int id)
{
    // Every ring order of the port, whether the span used it or not (a ring order the span did
    // not use matches none of its scans): the rings the history still keeps are few, and the
    // scans' times, which a clock set back mixes up, are not needed to find them.
    QSqlQuery rings = Run(mDb, "SELECT id FROM rings WHERE port = ?", {port});
    std::vector<qint64> ids;
    while (rings.next())
        ids.push_back(rings.value(0).toLongLong());
    QStringList without;
    for (qint64 ring : ids) {
        const std::vector<int> &members = Ring(ring);
        if (!std::binary_search(members.begin(), members.end(), id))
            without << QString::number(ring);
    }
    return without.join(QLatin1Char(','));
}

std::vector<TrendBucket> TrendQueries::ModuleTrend(int port, int id, int64_t fromMs, int64_t toMs, int64_t widthMs)
{
    std::vector<TrendBucket> buckets;
    if (widthMs <= 0 || toMs <= fromMs)
        return buckets;
    for (int64_t start = fromMs; start < toMs; start += widthMs)
        buckets.push_back({start, std::min(start + widthMs, toMs)});
    const auto bucketAt = [&](int64_t index) -> TrendBucket * {
        return index >= 0 && index < int64_t(buckets.size()) ? &buckets[size_t(index)] : nullptr;
    };
    // Minute rows start within a second of the span's start; hour rows carry the answered scans.
    QSqlQuery sums = Run(mDb,
                         "SELECT (start_s * 1000 - ?) / ?, total(increase1), total(increase2), total(faulty1_ms),"
                         " total(faulty2_ms), total(answered) FROM module_periods WHERE port = ? AND module = ?"
                         " AND start_s >= ? AND start_s < ? GROUP BY 1",
                         {qint64(fromMs), qint64(widthMs), port, id, Seconds(fromMs), Seconds(toMs)});
    while (sums.next()) {
        if (TrendBucket *bucket = bucketAt(sums.value(0).toLongLong())) {
            bucket->increase1 += StoredTotal(sums.value(1));
            bucket->increase2 += StoredTotal(sums.value(2));
            bucket->faulty1Ms += StoredTotal(sums.value(3));
            bucket->faulty2Ms += StoredTotal(sums.value(4));
            bucket->answered += Count(sums.value(5));
        }
    }
    QSqlQuery hours = Run(mDb,
                          "SELECT (start_s * 1000 - ?) / ?, total(scans) FROM scan_hours WHERE port = ? AND start_s >= ?"
                          " AND start_s < ? GROUP BY 1",
                          {qint64(fromMs), qint64(widthMs), port, Seconds(fromMs), Seconds(std::min(toMs, mThinnedUntilMs))});
    while (hours.next()) {
        if (TrendBucket *bucket = bucketAt(hours.value(0).toLongLong()))
            bucket->scans += Count(hours.value(1));
    }
    // The scans still kept one by one, counted in each interval, with those whose ring lacks
    // the module (or that found none).
    const int64_t start = std::max(fromMs, mThinnedUntilMs);
    if (start < toMs) {
        QSqlQuery count(mDb);
        count.setForwardOnly(true);
        count.prepare(QStringLiteral("SELECT count(*), total(ring IS NULL OR ring IN (%1)) FROM scans WHERE port = ?"
                                     " AND time_ms >= ? AND time_ms < ?")
                          .arg(RingsWithout(port, id)));
        for (TrendBucket &bucket : buckets) {
            if (bucket.endMs <= start)
                continue;
            count.bindValue(0, port);
            count.bindValue(1, qint64(std::max(bucket.startMs, start)));
            count.bindValue(2, qint64(bucket.endMs));
            if (count.exec() && count.next()) {
                const int scans = count.value(0).toInt();
                bucket.scans += scans;
                bucket.answered += scans - Count(count.value(1));
            }
            count.finish();
        }
    }
    return buckets;
}

std::vector<ChannelTotal> TrendQueries::WorstChannels(int port, int64_t fromMs, int64_t toMs, size_t limit)
{
    std::vector<ChannelTotal> channels;
    SumPerModule(port, QStringLiteral("total(increase1), total(increase2), total(faulty1_ms), total(faulty2_ms)"), fromMs,
                 toMs, [&](int id, const QSqlQuery &sums) {
                     for (int channel = 1; channel <= 2; ++channel) {
                         const ChannelTotal total{id, channel, StoredTotal(sums.value(channel - 1)),
                                                  StoredTotal(sums.value(channel + 1))};
                         if (total.increase > 0 || total.faultyMs > 0)
                             channels.push_back(total);
                     }
                 });
    std::sort(channels.begin(), channels.end(), [](const ChannelTotal &a, const ChannelTotal &b) {
        if (a.increase != b.increase)
            return a.increase > b.increase;
        if (a.faultyMs != b.faultyMs)
            return a.faultyMs > b.faultyMs;
        return std::pair(a.id, a.channel) < std::pair(b.id, b.channel);
    });
    if (channels.size() > limit)
        channels.resize(limit);
    return channels;
}

std::vector<ModuleShare> TrendQueries::AnswerShares(int port, int64_t fromMs, int64_t toMs)
{
    std::map<int, int> answered;
    int scans = 0;
    const int64_t thinnedTo = std::min(toMs, mThinnedUntilMs);
    if (fromMs < thinnedTo) {
        QSqlQuery hours = Run(mDb, "SELECT total(scans) FROM scan_hours WHERE port = ? AND start_s >= ? AND start_s < ?",
                              {port, Seconds(fromMs), Seconds(thinnedTo)});
        scans += hours.next() ? Count(hours.value(0)) : 0;
        SumPerModule(port, QStringLiteral("total(answered)"), fromMs, thinnedTo, [&](int id, const QSqlQuery &sums) {
            if (Count(sums.value(0)) > 0)
                answered[id] += Count(sums.value(0));
        });
    }
    const int64_t start = std::max(fromMs, mThinnedUntilMs);
    QSqlQuery rings = Run(mDb, "SELECT ring, count(*) FROM scans WHERE port = ? AND time_ms >= ? AND time_ms < ? GROUP BY ring",
                          {port, qint64(start), qint64(toMs)});
    std::vector<std::pair<qint64, int>> counts;
    while (start < toMs && rings.next())
        counts.emplace_back(rings.value(0).isNull() ? -1 : rings.value(0).toLongLong(), rings.value(1).toInt());
    for (const auto &[ring, count] : counts) {
        scans += count;
        if (ring >= 0)
            for (int id : Ring(ring))
                answered[id] += count;
    }
    std::vector<ModuleShare> shares;
    for (const auto &[id, count] : answered)
        shares.push_back({id, count, scans});
    return shares;
}
