#pragma once
// What the Trends window and the report ask of the history, each answered by a few indexed
// reads: one module's channels per interval, the channels with the largest increase in a span,
// and each module's share of the scans it answered. Times are ms since 1970 UTC; a span runs
// from its start up to, not including, its end. Before thinnedUntilMs the history holds hours.
#include "history/HistoryTypes.h"
#include "history/StoredRow.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>
#include <unordered_map>
#include <vector>

class TrendQueries
{
public:
    TrendQueries(const QSqlDatabase &db, int64_t thinnedUntilMs);

    // The span cut into intervals of widthMs (the last one may be shorter).
    std::vector<TrendBucket> ModuleTrend(int port, int id, int64_t fromMs, int64_t toMs, int64_t widthMs);
    // Channels with an increase or faulty time, largest increase first (then the longer faulty).
    std::vector<ChannelTotal> WorstChannels(int port, int64_t fromMs, int64_t toMs, size_t limit);
    // Every module that answered at least once, by ID.
    std::vector<ModuleShare> AnswerShares(int port, int64_t fromMs, int64_t toMs);
    // The first row the answers passed over, as StoredRow tells it; empty: none.
    QString Problem() const { return mProblem; }

private:
    // Calls back with each module the port has minute or hour sums of, and its sums (the
    // columns given) over the span.
    void SumPerModule(int port, const QString &sums, int64_t fromMs, int64_t toMs,
                      const std::function<void(int id, const QSqlQuery &totals)> &call);
    // The port's ring orders that lack the module, as an SQL list.
    QString RingsWithout(int port, int id);
    // The ring order's IDs, sorted; none when it is missing or cannot be used.
    const std::vector<int> &Ring(qint64 id);
    // Remembers the row's problem when it is the first; whether the row is fine.
    bool Damaged(const StoredRow &row);

    QSqlDatabase mDb;
    int64_t mThinnedUntilMs;
    std::unordered_map<qint64, std::vector<int>> mRings;
    QString mProblem;
};
