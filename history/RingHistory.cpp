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
    Shut();
    mState = State::Closed;
}

void RingHistory::Shut()
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

void RingHistory::Down(const QString &reason, const QString &passingWhile)
{
    Shut();
    const bool told = mState == State::Waiting;
    mState = passingWhile.isEmpty() ? State::Refused : State::Waiting;
    mRetryAtMs = TheClock().ElapsedMs() + kRetryMs;
    if (mState == State::Waiting)
        mMissedWhile = passingWhile;
    if (!told || mState == State::Refused)
        emit problem(HistoryProblemText(mPath, reason, mState == State::Waiting));
}

void RingHistory::Fail(const QSqlError &error)
{
    if (mDb.isValid())
        QSqlQuery(mDb).exec(QStringLiteral("ROLLBACK"));
    Down(HistoryErrorReason(error), HistoryFaultWhile(error));
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
    mMissedUntold = 0;
    mAheadSinceMs = -1;
    mAheadTold = false;
    QString passingWhile;
    const QString reason = OpenFile(passingWhile);
    if (!reason.isEmpty()) {
        Down(reason, passingWhile);
        return false;
    }
    mState = State::Open;
    return true;
}

QString RingHistory::OpenFile(QString &passingWhile)
{
    // The header first: a file that is no history of this program is never handed to SQLite
    // for writing, which might change it.
    QString reason = HistoryFileProblem(mPath, passingWhile);
    if (reason.isEmpty())
        reason = OpenDatabase(passingWhile);
    if (!reason.isEmpty()) {
        Shut();
        return reason;
    }
    mWriter = std::make_unique<ScanWriter>(mDb);
    mThinner = std::make_unique<HistoryThinner>(mDb);
    mCheckpointer = std::make_unique<WalCheckpointer>(mPath);
    QSqlQuery last(mDb);
    if (last.exec(QStringLiteral("SELECT max(id) FROM events")) && last.next())
        mLastEventId = last.value(0).toLongLong();
    mNewestMs = NewestScanMs();
    mNewestKeptAtMs.reset();
    mThinTimer.start(kThinStartMs);
    return {};
}

bool RingHistory::Ready()
{
    if (mState == State::Waiting && TheClock().ElapsedMs() >= mRetryAtMs) {
        QString passingWhile;
        const QString reason = OpenFile(passingWhile);
        if (reason.isEmpty())
            mState = State::Open;
        else
            Down(reason, passingWhile);
    }
    return mState == State::Open;
}

bool RingHistory::Trusted(int64_t timeMs)
{
    const int64_t now = TheClock().ElapsedMs();
    if (!mNewestKeptAtMs || timeMs <= mNewestMs + (now - *mNewestKeptAtMs) + kAheadLimitMs) {
        mAheadSinceMs = -1;
        return true;
    }
    if (mAheadSinceMs < 0)
        mAheadSinceMs = now;
    if (now - mAheadSinceMs >= kTrustAfterMs) {
        mAheadSinceMs = -1;
        return true;
    }
    if (!mAheadTold) {
        mAheadTold = true;
        emit problem(HistoryAheadText(mPath, timeMs, mNewestMs));
    }
    mMissedWhile = QStringLiteral("while the clock read more than a day after the newest scan kept");
    return false;
}

void RingHistory::Missed()
{
    ++mMissed;
    ++mMissedUntold;
}

void RingHistory::Kept(int64_t timeMs)
{
    if (timeMs >= mNewestMs) {
        mNewestMs = timeMs;
        mNewestKeptAtMs = TheClock().ElapsedMs();
    }
    if (mMissedUntold > 0)
        emit keptAgain(HistoryKeptAgainText(mPath, mMissedUntold, mMissedWhile));
    mMissedUntold = 0;
}

int64_t RingHistory::NewestScanMs()
{
    int64_t newest = -1;
    QSqlQuery port(mDb);
    port.prepare(QStringLiteral("SELECT port FROM scans WHERE port > ? ORDER BY port LIMIT 1"));
    QSqlQuery time(mDb);
    time.prepare(QStringLiteral("SELECT max(time_ms) FROM scans WHERE port = ?"));
    for (QVariant after = -1;;) {
        port.bindValue(0, after);
        if (!port.exec() || !port.next())
            return newest;
        after = port.value(0);
        port.finish();
        time.bindValue(0, after);
        if (time.exec() && time.next()) {
            StoredRow row(QString{});
            const int64_t ms = row.Int(time.value(0), "time_ms", 0, kLastStoredMs);
            if (row.Ok())
                newest = std::max(newest, ms);
        }
        time.finish();
    }
}

// Empty when the database is open with its schema in place; else the reason it is not.
QString RingHistory::OpenDatabase(QString &passingWhile)
{
    mDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), mConnection);
    mDb.setDatabaseName(mPath);
    mDb.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    const auto failed = [&passingWhile](const QSqlError &error) {
        passingWhile = HistoryFaultWhile(error);
        return HistoryErrorReason(error);
    };
    if (!mDb.open())
        return failed(mDb.lastError());
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
        return failed(query.lastError());
    if (found > kHistoryVersion)
        return NewerVersionReason(found);
    if (found == 0) {
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
            return failed(query.lastError());
        if (query.value(0).toInt() > 0)
            return ForeignReason();
        query.finish();
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next())
        return failed(query.lastError());
    if (query.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("The file cannot be written with a write-ahead log.");
    query.finish();
    // A commit waits for no disk: a killed program loses nothing, and the checkpointer's
    // thread syncs the log every second, so a power cut loses at most that second.
    if (!query.exec(QStringLiteral("PRAGMA synchronous = NORMAL"))
        || !query.exec(QStringLiteral("PRAGMA wal_autocheckpoint = %1").arg(kLogPagesLimit))
        || !query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failed(query.lastError());
    // Another program may have created the tables meanwhile; a history of an earlier version
    // gets the mark.
    QString problem;
    if (!version(found) || !query.exec(QStringLiteral("PRAGMA application_id")) || !query.next()) {
        problem = failed(query.lastError());
    } else {
        const bool marked = query.value(0).toInt() == kHistoryMark;
        query.finish();
        if (found == 0)
            problem = CreateHistorySchema(mDb);
        else if (found < kHistoryVersion)
            problem = UpgradeHistorySchema(mDb, found);
        else if (!marked)
            problem = MarkHistory(mDb);
    }
    if (!problem.isEmpty() || !query.exec(QStringLiteral("COMMIT"))) {
        if (problem.isEmpty())
            problem = failed(query.lastError());
        query.exec(QStringLiteral("ROLLBACK"));
    }
    return problem;
}

void RingHistory::Keep(const RingScan &scan, const std::vector<RingEvent> &events,
                       const std::optional<Verification> &verification, const ProgrammingRecord *verifying)
{
    if (mState == State::Closed)
        return;
    if (!Ready() || !Trusted(scan.sentMs) || !Write(scan, events, verification, verifying)) {
        Missed();
        return;
    }
    Kept(scan.sentMs);
}

bool RingHistory::Write(const RingScan &scan, const std::vector<RingEvent> &events,
                        const std::optional<Verification> &verification, const ProgrammingRecord *verifying)
{
    if (!Begin())
        return false;
    if (!mWriter->Write(scan)) {
        Fail(mWriter->LastError());
        return false;
    }
    for (const RingEvent &event : events) {
        const QVariant none;
        if (!Exec(QStringLiteral("INSERT INTO events(time_ms, port, module, position, kind, text, acknowledged)"
                                 " VALUES(?, ?, ?, ?, ?, ?, ?)"),
                  {qint64(event.time.isValid() ? event.time.toMSecsSinceEpoch() : scan.sentMs), scan.portNumber,
                   event.id < 0 ? none : QVariant(event.id), event.position < 0 ? none : QVariant(event.position),
                   int(event.kind), event.text, int(event.acknowledged)},
                  &mLastEventId))
            return false;
    }
    if (verification) {
        qint64 row = 0;
        if (!Exec(QStringLiteral("INSERT INTO verifications(time_ms, port, applied_stamp) VALUES(?, ?, ?)"),
                  {qint64(verification->timeMs), scan.portNumber, qint64(verification->appliedStamp)}, &row))
            return false;
        for (const VerifyResult &result : verification->results) {
            if (!Exec(QStringLiteral("INSERT OR REPLACE INTO verify_results(verification, module, kind, mode, applied)"
                                     " VALUES(?, ?, ?, ?, ?)"),
                      {row, result.id, int(result.kind), int(result.mode), int(result.applied)}))
                return false;
        }
        if (verifying && !InsertProgramming(*verifying, row))
            return false;
    }
    return Commit();
}

bool RingHistory::InsertProgramming(const ProgrammingRecord &record, const QVariant &verification)
{
    qint64 row = 0;
    if (!Exec(QStringLiteral("INSERT INTO programmings(time_ms, kind, user_name, computer_name, port, device, mode, keep,"
                             " verification) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)"),
              {qint64(record.timeMs), int(record.kind), record.user, record.computer, record.port, record.device,
               int(record.mode), int(record.keep), verification},
              &row))
        return false;
    if (record.kind == ProgrammingKind::Verify)
        return true;
    for (size_t seq = 0; seq < record.modules.size(); ++seq) {
        const ProgrammedModule &module = record.modules[seq];
        if (!Exec(QStringLiteral("INSERT INTO programmed_modules(programming, seq, module, mode, keep, frame)"
                                 " VALUES(?, ?, ?, ?, ?, ?)"),
                  {row, qint64(seq), module.id, int(module.mode), int(module.keep), int(module.frame)}))
            return false;
    }
    return true;
}

void RingHistory::KeepProgramming(const ProgrammingRecord &record)
{
    if (Begin() && InsertProgramming(record, QVariant()))
        Commit();
}

bool RingHistory::ReadVerifyResults(ProgrammingRecord &record, const QVariant &verification, StoredRow &row)
{
    QSqlQuery query(mDb);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT module, kind, mode, applied FROM verify_results WHERE verification = ?"
                                 " ORDER BY module"));
    query.bindValue(0, verification);
    if (!query.exec())
        return false;
    while (query.next() && row.Ok()) {
        VerifyResult result;
        result.id = int(row.Int(query.value(0), "module", 0, kMaxModuleID));
        result.kind = VerifyKind(row.Int(query.value(1), "kind", 0, int(VerifyKind::NothingApplied)));
        result.mode = uint8_t(row.Int(query.value(2), "mode", 0, 255));
        result.applied = uint8_t(row.Int(query.value(3), "applied", 0, 255));
        record.modules.push_back(ProgrammedModule{result.id, result.mode, false, FrameOutcome::NotSent, result});
    }
    return true;
}

std::vector<ProgrammingRecord> RingHistory::Programmings(int64_t fromMs)
{
    std::vector<ProgrammingRecord> records;
    if (!IsOpen())
        return records;
    QSqlQuery query(mDb);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT id, time_ms, kind, user_name, computer_name, port, device, mode, keep, verification"
                                 " FROM programmings WHERE time_ms >= ? ORDER BY time_ms, id"));
    query.bindValue(0, qint64(fromMs));
    if (!query.exec())
        return records;
    QSqlQuery modules(mDb);
    modules.setForwardOnly(true);
    modules.prepare(QStringLiteral("SELECT module, mode, keep, frame FROM programmed_modules WHERE programming = ? ORDER BY seq"));
    while (query.next()) {
        StoredRow row(QStringLiteral("Programming %1").arg(query.value(0).toLongLong()));
        ProgrammingRecord record;
        record.timeMs = row.Int(query.value(1), "time_ms", 0, kLastStoredMs);
        record.kind = ProgrammingKind(row.Int(query.value(2), "kind", 0, int(ProgrammingKind::Verify)));
        record.user = query.value(3).toString();
        record.computer = query.value(4).toString();
        record.port = int(row.Int(query.value(5), "port", 0, 255));
        record.device = query.value(6).toString();
        record.mode = uint8_t(row.Int(query.value(7), "mode", 0, 255));
        record.keep = row.Int(query.value(8), "keep", 0, 1) != 0;
        if (record.kind == ProgrammingKind::Verify) {
            if (!ReadVerifyResults(record, query.value(9), row))
                continue;
        } else {
            modules.bindValue(0, query.value(0));
            if (!modules.exec())
                continue;
            while (modules.next() && row.Ok()) {
                ProgrammedModule module;
                module.id = int(row.Int(modules.value(0), "module", 0, kMaxModuleID));
                module.mode = uint8_t(row.Int(modules.value(1), "mode", 0, 255));
                module.keep = row.Int(modules.value(2), "keep", 0, 1) != 0;
                module.frame = FrameOutcome(row.Int(modules.value(3), "frame", 0, int(FrameOutcome::NotSent)));
                record.modules.push_back(module);
            }
            modules.finish();
        }
        if (!row.Ok()) {
            Damaged(row.Problem());
            continue;
        }
        records.push_back(std::move(record));
    }
    return records;
}

void RingHistory::KeepAll(const std::vector<RingScan> &scans)
{
    if (!Ready() || !Begin())
        return;
    for (const RingScan &scan : scans) {
        if (!mWriter->Write(scan)) {
            Fail(mWriter->LastError());
            return;
        }
    }
    if (Commit())
        for (const RingScan &scan : scans)
            Kept(scan.sentMs);
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
                                   " WHERE s.port = ? AND s.time_ms = (%1)").arg(kLastFoundMsSql));
    scanRow.bindValue(0, port);
    scanRow.bindValue(1, port);
    scanRow.bindValue(2, port);
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
    // Never further than the newest scan kept: a clock set ahead thins nothing.
    const int64_t nowMs = mNewestMs < 0 ? -1 : std::min(TheClock().EpochMs(), mNewestMs);
    if (!mThinner->Step(nowMs, mKeepDays, more)) {
        Fail(mThinner->LastError());
        return;
    }
    if (Commit())
        mThinTimer.start(more ? kThinPauseMs : kThinIdleMs);
}
