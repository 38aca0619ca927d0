#include "history/ScanWriter.h"

#include "model/Global.h"
#include "history/HistorySchema.h"
#include "history/ModuleRow.h"
#include "history/RingOrderBlob.h"
#include "model/RingKeeper.h"

#include <algorithm>

namespace {

constexpr int kConstraintFailed = 19;

bool SameState(const ModuleSnapshot &a, const ModuleSnapshot &b)
{
    return a.side == b.side && a.version == b.version && a.mode == b.mode && a.faulty1 == b.faulty1
        && a.faulty2 == b.faulty2 && a.counter1 == b.counter1 && a.counter2 == b.counter2;
}

QSqlQuery Prepared(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    query.prepare(statement);
    return query;
}

QSqlQuery Prepared(const QSqlDatabase &db, const char *statement) { return Prepared(db, QString::fromLatin1(statement)); }

} // namespace

ScanWriter::ScanWriter(const QSqlDatabase &db)
    : mInsertScan(Prepared(db, "INSERT INTO scans(port, time_ms, origin, device, modules, ring) VALUES(?, ?, ?, ?, ?, ?)")),
      mInsertRing(Prepared(db, "INSERT INTO rings(port, ids) VALUES(?, ?)")),
      mInsertRow(Prepared(db, "INSERT INTO module_rows(port, module, time_ms, side, version, mode, faulty1, faulty2,"
                              " counter1, counter2) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
      mAddToPeriod(Prepared(db, "INSERT INTO module_periods(port, module, start_s, increase1, increase2, faulty1_ms,"
                                " faulty2_ms) VALUES(?, ?, ?, ?, ?, ?, ?) ON CONFLICT(port, module, start_s) DO UPDATE SET"
                                " increase1 = increase1 + excluded.increase1, increase2 = increase2 + excluded.increase2,"
                                " faulty1_ms = faulty1_ms + excluded.faulty1_ms, faulty2_ms = faulty2_ms + excluded.faulty2_ms")),
      mLastRow(Prepared(db, QStringLiteral("SELECT %1 FROM module_rows WHERE port = ? AND module = ? AND time_ms <= coalesce((%2), ?)"
                                           " ORDER BY time_ms DESC LIMIT 1").arg(kModuleRowColumns, QLatin1String(kLastFoundMsSql)))),
      mNewestRow(Prepared(db, "SELECT max(time_ms) FROM module_rows WHERE port = ? AND module = ?")),
      mSaveLastFound(Prepared(db, kSaveLastFoundMsSql)),
      mLastScan(Prepared(db, "SELECT time_ms FROM scans WHERE port = ? ORDER BY time_ms DESC LIMIT 1")),
      mLastRing(Prepared(db, "SELECT id, ids FROM rings WHERE port = ? ORDER BY id DESC LIMIT 1"))
{
}

bool ScanWriter::Run(QSqlQuery &query)
{
    if (query.exec())
        return true;
    mError = query.lastError();
    return false;
}

bool ScanWriter::Write(const RingScan &scan)
{
    PortState &state = mPorts[scan.portNumber];
    if (!Load(scan.portNumber, state) || !KeepRing(scan.portNumber, scan, state))
        return false;
    int64_t timeMs = scan.sentMs;
    const int64_t previousMs = state.lastScanMs;
    if (!InsertScan(scan, state, timeMs))
        return false;
    const int64_t creditMs = previousMs < 0 ? kRefreshIntervalMs
                                            : std::clamp<int64_t>(timeMs - previousMs, 1, kFaultyCreditLimitMs);
    for (const ModuleSnapshot &module : scan.modules) {
        if (!WriteModule(scan.portNumber, timeMs, creditMs, module, state))
            return false;
    }
    if (!scan.Found())
        return true;
    mSaveLastFound.bindValue(0, scan.portNumber);
    mSaveLastFound.bindValue(1, qint64(timeMs));
    return Run(mSaveLastFound);
}

bool ScanWriter::Load(int port, PortState &state)
{
    if (state.loaded)
        return true;
    mLastScan.bindValue(0, port);
    if (!Run(mLastScan))
        return false;
    // What the file holds that no scan can have is passed over (the reader tells it): the
    // next scan writes a ring order and module rows of its own.
    if (mLastScan.next()) {
        StoredRow row(QString{});
        const qint64 timeMs = row.Int(mLastScan.value(0), "time_ms", 0, kLastStoredMs);
        state.lastScanMs = row.Ok() ? timeMs : -1;
    }
    mLastScan.finish();
    mLastRing.bindValue(0, port);
    if (!Run(mLastRing))
        return false;
    if (mLastRing.next()) {
        StoredRow row(QString{});
        std::vector<int> ids = RingOrderIds(mLastRing.value(1), row);
        if (row.Ok()) {
            state.ringId = mLastRing.value(0).toLongLong();
            state.ringIds = std::move(ids);
        }
    }
    mLastRing.finish();
    state.loaded = true;
    return true;
}

bool ScanWriter::KeepRing(int port, const RingScan &scan, PortState &state)
{
    if (!scan.Found())
        return true;
    const bool same = state.ringIds.size() == scan.modules.size()
        && std::equal(scan.modules.begin(), scan.modules.end(), state.ringIds.begin(),
                      [](const ModuleSnapshot &module, int id) { return module.id == id; });
    if (same && state.ringId >= 0)
        return true;
    mInsertRing.bindValue(0, port);
    mInsertRing.bindValue(1, RingOrderBlob(scan.modules));
    if (!Run(mInsertRing))
        return false;
    state.ringId = mInsertRing.lastInsertId().toLongLong();
    state.ringIds.clear();
    for (const ModuleSnapshot &module : scan.modules)
        state.ringIds.push_back(module.id);
    return true;
}

bool ScanWriter::InsertScan(const RingScan &scan, PortState &state, int64_t &timeMs)
{
    // Two scans of one port in the same millisecond (a clock set back) keep both: the later
    // one moves on by a millisecond.
    if (timeMs == state.lastScanMs)
        ++timeMs;
    mInsertScan.bindValue(0, scan.portNumber);
    mInsertScan.bindValue(2, scan.origin == ScanOrigin::AutoRefresh ? 1 : 0);
    mInsertScan.bindValue(3, scan.device);
    mInsertScan.bindValue(4, int(scan.modules.size()));
    mInsertScan.bindValue(5, scan.Found() ? QVariant(state.ringId) : QVariant());
    for (int attempt = 0;; ++attempt, ++timeMs) {
        mInsertScan.bindValue(1, qint64(timeMs));
        if (mInsertScan.exec())
            break;
        mError = mInsertScan.lastError();
        if ((mError.nativeErrorCode().toInt() & 0xFF) != kConstraintFailed || attempt == 1000)
            return false;
    }
    state.lastScanMs = timeMs;
    return true;
}

bool ScanWriter::LastRow(int port, int id, ModuleRowState &last, bool &found)
{
    const QVariantList values{port, id, port, port, kLastStoredMs};
    for (int k = 0; k < values.size(); ++k)
        mLastRow.bindValue(k, values[k]);
    if (!Run(mLastRow))
        return false;
    found = mLastRow.next();
    if (found) {
        StoredRow row(QString{});
        last.module = ModuleFromRow(mLastRow, id, row);
        found = row.Ok();
    }
    mLastRow.finish();
    mNewestRow.bindValue(0, port);
    mNewestRow.bindValue(1, id);
    if (!Run(mNewestRow))
        return false;
    if (mNewestRow.next()) {
        StoredRow row(QString{});
        const qint64 newestMs = row.Int(mNewestRow.value(0), "time_ms", 0, kLastStoredMs);
        last.newestMs = row.Ok() ? newestMs : -1;
    }
    mNewestRow.finish();
    return true;
}

bool ScanWriter::WriteModule(int port, int64_t timeMs, int64_t creditMs, const ModuleSnapshot &module, PortState &state)
{
    auto known = state.modules.find(module.id);
    if (known == state.modules.end()) {
        ModuleRowState last;
        bool found = false;
        if (!LastRow(port, module.id, last, found))
            return false;
        if (found)
            known = state.modules.emplace(module.id, last).first;
    }
    const bool hasBefore = known != state.modules.end();
    const int increase1 = hasBefore ? RingKeeper::CounterIncrease(known->second.module.counter1, module.counter1) : 0;
    const int increase2 = hasBefore ? RingKeeper::CounterIncrease(known->second.module.counter2, module.counter2) : 0;
    if (!hasBefore || !SameState(known->second.module, module) || known->second.newestMs >= timeMs) {
        const QVariantList values{port, module.id, qint64(timeMs), SideColumn(module.side), int(module.version),
                                  int(module.mode), int(module.faulty1), int(module.faulty2), module.counter1,
                                  module.counter2};
        for (int k = 0; k < values.size(); ++k)
            mInsertRow.bindValue(k, values[k]);
        if (!Run(mInsertRow))
            return false;
        const int64_t newestMs = std::max(hasBefore ? known->second.newestMs : int64_t(-1), timeMs);
        state.modules[module.id] = {module, newestMs};
    }
    if (increase1 == 0 && increase2 == 0 && !module.AnyFaulty())
        return true;
    const QVariantList values{port, module.id, qint64(timeMs / 60000 * 60), increase1, increase2,
                              qint64(module.faulty1 ? creditMs : 0), qint64(module.faulty2 ? creditMs : 0)};
    for (int k = 0; k < values.size(); ++k)
        mAddToPeriod.bindValue(k, values[k]);
    return Run(mAddToPeriod);
}
