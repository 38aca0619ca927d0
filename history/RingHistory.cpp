#include "history/RingHistory.h"

#include "history/HistoryFaults.h"
#include "history/HistorySchema.h"
#include "history/ModuleRow.h"
#include "history/HistoryThinner.h"
#include "history/RingOrderBlob.h"
#include "history/ScanWriter.h"
#include "history/StoredRow.h"
#include "history/TrendQueries.h"
#include "history/WalCheckpointer.h"
#include "model/Global.h"
#include "model/Clock.h"
#include "model/Global.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

RingHistory::RingHistory(QObject *parent)
    : QObject(parent),
      mConnection(QStringLiteral("ring-history-%1").arg(quintptr(this)))
{
    mThinTimer.setSingleShot(true);
    connect(&mThinTimer, &QTimer::timeout, this, &RingHistory::ThinOneStep);
}

RingHistory::~RingHistory() { Close(); }

void RingHistory::Close()
{
    mThinTimer.stop();
    mCheckpointer.reset();
    mWriter.reset();
    mThinner.reset();
    if (mDb.isValid()) {
        mDb.close();
        mDb = QSqlDatabase();
        QSqlDatabase::removeDatabase(mConnection);
    }
}

void RingHistory::Refuse(const QString &reason)
{
    Close();
    emit problem(HistoryProblemText(mPath, reason));
}

void RingHistory::Fail(const QSqlError &error)
{
    if (mDb.isValid())
        QSqlQuery(mDb).exec(QStringLiteral("ROLLBACK"));
    Refuse(HistoryErrorReason(error));
}

bool RingHistory::Exec(const QString &statement, const QVariantList &values, qint64 *insertedId)
{
    QSqlQuery query(mDb);
    bool ok = query.prepare(statement);
    for (int k = 0; ok && k < values.size(); ++k)
        query.bindValue(k, values[k]);
    if (ok && query.exec()) {
        if (insertedId)
            *insertedId = query.lastInsertId().toLongLong();
        return true;
    }
    Fail(query.lastError());
    return false;
}

bool RingHistory::Begin() { return IsOpen() && Exec(QStringLiteral("BEGIN IMMEDIATE")); }

bool RingHistory::Commit() { return Exec(QStringLiteral("COMMIT")); }

bool RingHistory::Open(const QString &path, int keepDays)
{
    Close();
    mPath = path;
    mDamageTold = false;
    mKeepDays = std::max(1, keepDays);
    // The header first: a file that is no history of this program is never handed to SQLite,
    // which might write to it.
    QString reason = HistoryFileProblem(path);
    if (reason.isEmpty())
        reason = OpenDatabase();
    if (!reason.isEmpty()) {
        Refuse(reason);
        return false;
    }
    mWriter = std::make_unique<ScanWriter>(mDb);
    mThinner = std::make_unique<HistoryThinner>(mDb);
    mCheckpointer = std::make_unique<WalCheckpointer>(path);
    QSqlQuery last(mDb);
    if (last.exec(QStringLiteral("SELECT max(id) FROM events")) && last.next())
        mLastEventId = last.value(0).toLongLong();
    mThinTimer.start(kThinStartMs);
    return true;
}

// Empty when the database is open with its schema in place; else the reason it is not.
QString RingHistory::OpenDatabase()
{
    mDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), mConnection);
    mDb.setDatabaseName(mPath);
    mDb.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!mDb.open())
        return HistoryErrorReason(mDb.lastError());
    QSqlQuery query(mDb);
    const auto version = [&query](int &value) {
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
            return false;
        value = query.value(0).toInt();
        query.finish();
        return true;
    };
    int found = 0;
    if (!version(found))
        return HistoryErrorReason(query.lastError());
    if (found > kHistoryVersion)
        return NewerVersionReason(found);
    if (found == 0) {
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
            return HistoryErrorReason(query.lastError());
        if (query.value(0).toInt() > 0)
            return QStringLiteral("The file is an SQLite database of another program.");
        query.finish();
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next())
        return HistoryErrorReason(query.lastError());
    if (query.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("The file cannot be written with a write-ahead log.");
    query.finish();
    // A power cut loses at most the scan being written.
    if (!query.exec(QStringLiteral("PRAGMA synchronous = FULL"))
        || !query.exec(QStringLiteral("PRAGMA wal_autocheckpoint = %1").arg(kLogPagesLimit))
        || !query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return HistoryErrorReason(query.lastError());
    // Another program may have created the tables meanwhile.
    QString problem;
    if (!version(found))
        problem = HistoryErrorReason(query.lastError());
    else if (found == 0)
        problem = CreateHistorySchema(mDb);
    if (!problem.isEmpty() || !query.exec(QStringLiteral("COMMIT"))) {
        if (problem.isEmpty())
            problem = HistoryErrorReason(query.lastError());
        query.exec(QStringLiteral("ROLLBACK"));
    }
    return problem;
}

void RingHistory::Keep(const RingScan &scan, const std::vector<RingEvent> &events,
                       const std::optional<Verification> &verification)
{
    if (!Begin())
        return;
    if (!mWriter->Write(scan)) {
        Fail(mWriter->LastError());
        return;
    }
    for (const RingEvent &event : events) {
        const QVariant none;
        if (!Exec(QStringLiteral("INSERT INTO events(time_ms, port, module, position, kind, text, acknowledged)"
                                 " VALUES(?, ?, ?, ?, ?, ?, ?)"),
                  {qint64(event.time.isValid() ? event.time.toMSecsSinceEpoch() : scan.sentMs), scan.portNumber,
                   event.id < 0 ? none : QVariant(event.id), event.position < 0 ? none : QVariant(event.position),
                   int(event.kind), event.text, int(event.acknowledged)},
                  &mLastEventId))
            return;
    }
    if (verification) {
        qint64 row = 0;
        if (!Exec(QStringLiteral("INSERT INTO verifications(time_ms, port, applied_stamp) VALUES(?, ?, ?)"),
                  {qint64(verification->timeMs), scan.portNumber, qint64(verification->appliedStamp)}, &row))
            return;
        for (const VerifyResult &result : verification->results) {
            if (!Exec(QStringLiteral("INSERT OR REPLACE INTO verify_results(verification, module, kind, mode, applied)"
                                     " VALUES(?, ?, ?, ?, ?)"),
                      {row, result.id, int(result.kind), int(result.mode), int(result.applied)}))
                return;
        }
    }
    Commit();
}

void RingHistory::KeepAll(const std::vector<RingScan> &scans)
{
    if (!Begin())
        return;
    for (const RingScan &scan : scans) {
        if (!mWriter->Write(scan)) {
            Fail(mWriter->LastError());
            return;
        }
    }
    Commit();
}

void RingHistory::AcknowledgeEvents(int port)
{
    if (Begin() && Exec(QStringLiteral("UPDATE events SET acknowledged = 1 WHERE acknowledged = 0 AND port = ? AND id <= ?"),
                        {port, mLastEventId}))
        Commit();
}

std::vector<RingEvent> RingHistory::Events(int port, size_t limit)
{
    std::vector<RingEvent> events;
    if (!IsOpen())
        return events;
    QSqlQuery query(mDb);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT time_ms, module, position, kind, text, acknowledged, id FROM events"
                                 " WHERE port = ? ORDER BY id DESC LIMIT ?"));
    query.bindValue(0, port);
    query.bindValue(1, qint64(limit));
    if (!query.exec())
        return events;
    while (query.next()) {
        StoredRow row(QStringLiteral("Event %1").arg(query.value(6).toLongLong()));
        RingEvent event;
        event.time = QDateTime::fromMSecsSinceEpoch(row.Int(query.value(0), "time_ms", 0, kLastStoredMs));
        event.id = int(row.IntOrNone(query.value(1), "module", 0, kMaxModuleID, -1));
        event.position = int(row.IntOrNone(query.value(2), "position", 0, kMaxModuleID, -1));
        event.kind = RingEventKind(row.Int(query.value(3), "kind", 0, int(RingEventKind::Other)));
        event.text = query.value(4).toString();
        event.acknowledged = row.Int(query.value(5), "acknowledged", 0, 1) != 0;
        if (!row.Ok()) {
            Damaged(row.Problem());
            continue;
        }
        events.push_back(std::move(event));
    }
    std::reverse(events.begin(), events.end());
    return events;
}

std::vector<int> RingHistory::ModulesSeen(int port)
{
    std::vector<int> ids;
    if (!IsOpen())
        return ids;
    QSqlQuery query(mDb);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT DISTINCT module FROM module_rows WHERE port = ?"));
    query.bindValue(0, port);
    if (!query.exec())
        return ids;
    while (query.next()) {
        StoredRow stored(QStringLiteral("Row of a module of port %1").arg(port));
        const int id = int(stored.Int(query.value(0), "module", 0, kMaxModuleID));
        if (!stored.Ok()) {
            Damaged(stored.Problem());
            continue;
        }
        ids.push_back(id);
    }
    return ids;
}

std::optional<RingScan> RingHistory::LastFound(int port)
{
    if (!IsOpen())
        return std::nullopt;
    QSqlQuery scanRow(mDb);
    scanRow.prepare(QStringLiteral("SELECT s.time_ms, s.origin, s.device, r.ids, r.id FROM scans s JOIN rings r ON r.id = s.ring"
                                   " WHERE s.port = ? AND s.ring IS NOT NULL ORDER BY s.time_ms DESC LIMIT 1"));
    scanRow.bindValue(0, port);
    if (!scanRow.exec() || !scanRow.next())
        return std::nullopt;
    // A last ring the program cannot use is left out: the run starts without one, and its
    // first scan keeps a ring of its own.
    StoredRow stored(QStringLiteral("Ring %1 of port %2").arg(scanRow.value(4).toLongLong()).arg(port));
    RingScan scan;
    scan.sentMs = stored.Int(scanRow.value(0), "time_ms", 0, kLastStoredMs);
    scan.origin = stored.Int(scanRow.value(1), "origin", 0, 1) == 1 ? ScanOrigin::AutoRefresh : ScanOrigin::Menu;
    scan.device = scanRow.value(2).toString();
    scan.portNumber = port;
    const std::vector<int> ids = RingOrderIds(scanRow.value(3), stored);
    scanRow.finish();
    QSqlQuery row(mDb);
    row.setForwardOnly(true);
    row.prepare(QStringLiteral("SELECT %1 FROM module_rows WHERE port = ? AND module = ? AND time_ms <= ?"
                               " ORDER BY time_ms DESC LIMIT 1").arg(kModuleRowColumns));
    for (int id : ids) {
        row.bindValue(0, port);
        row.bindValue(1, id);
        row.bindValue(2, qint64(scan.sentMs));
        if (!row.exec() || !row.next())
            continue;
        StoredRow moduleRow(ModuleRowName(port, id));
        ModuleSnapshot module = ModuleFromRow(row, id, moduleRow);
        row.finish();
        if (!moduleRow.Ok()) {
            stored = moduleRow;
            break;
        }
        module.parsedMs = scan.sentMs;
        scan.modules.push_back(module);
    }
    if (!stored.Ok()) {
        Damaged(stored.Problem());
        return std::nullopt;
    }
    return scan;
}

int64_t RingHistory::ThinnedUntilMs() const
{
    return mThinner && mThinner->ThinnedUntilS() >= 0 ? mThinner->ThinnedUntilS() * 1000 : 0;
}

std::vector<TrendBucket> RingHistory::ModuleTrend(int port, int id, int64_t fromMs, int64_t toMs, int64_t widthMs)
{
    if (!IsOpen())
        return {};
    TrendQueries queries(mDb, ThinnedUntilMs());
    std::vector<TrendBucket> buckets = queries.ModuleTrend(port, id, fromMs, toMs, widthMs);
    Damaged(queries.Problem());
    return buckets;
}

std::vector<ChannelTotal> RingHistory::WorstChannels(int port, int64_t fromMs, int64_t toMs, size_t limit)
{
    if (!IsOpen())
        return {};
    TrendQueries queries(mDb, ThinnedUntilMs());
    std::vector<ChannelTotal> channels = queries.WorstChannels(port, fromMs, toMs, limit);
    Damaged(queries.Problem());
    return channels;
}

std::vector<ModuleShare> RingHistory::AnswerShares(int port, int64_t fromMs, int64_t toMs)
{
    if (!IsOpen())
        return {};
    TrendQueries queries(mDb, ThinnedUntilMs());
    std::vector<ModuleShare> shares = queries.AnswerShares(port, fromMs, toMs);
    Damaged(queries.Problem());
    return shares;
}

int64_t RingHistory::FirstScanMs()
{
    if (!IsOpen())
        return -1;
    int64_t first = -1;
    const auto take = [this, &first](const QVariant &stored, const QString &name, qint64 scale) {
        StoredRow row(name);
        const int64_t time = row.Int(stored, "time", 0, kLastStoredMs / scale) * scale;
        if (!row.Ok())
            Damaged(row.Problem());
        else
            first = first < 0 ? time : std::min(first, time);
    };
    QSqlQuery query(mDb);
    // One look per port: each port's scans lie together, oldest first.
    query.prepare(QStringLiteral("SELECT port, time_ms FROM scans WHERE port > ? ORDER BY port, time_ms LIMIT 1"));
    for (QVariant port = -1;;) {
        query.bindValue(0, port);
        if (!query.exec() || !query.next())
            break;
        port = query.value(0);
        take(query.value(1), QStringLiteral("First scan of port %1").arg(StoredValueText(port)), 1);
        query.finish();
    }
    if (query.exec(QStringLiteral("SELECT min(start_s) FROM scan_hours")) && query.next() && !query.value(0).isNull())
        take(query.value(0), QStringLiteral("First hour of the scans"), 1000);
    return first;
}

void RingHistory::Damaged(const QString &what)
{
    if (what.isEmpty() || mDamageTold)
        return;
    mDamageTold = true;
    emit problem(HistoryDamageText(mPath, what));
}

void RingHistory::ThinOneStep()
{
    if (!Begin())
        return;
    bool more = false;
    if (!mThinner->Step(TheClock().EpochMs(), mKeepDays, more)) {
        Fail(mThinner->LastError());
        return;
    }
    if (Commit())
        mThinTimer.start(more ? kThinPauseMs : kThinIdleMs);
}
