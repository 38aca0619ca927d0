#pragma once
// Writes one finished scan into the history inside the caller's transaction: the scan's row,
// its ring order when it changed, a row for each module of which something changed since its
// row before, and the minute sums of the counters' increase and of the faulty time. What was
// last written for each port is remembered, so that a scan costs a few rows.
#include "model/RingScan.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <unordered_map>
#include <vector>

class ScanWriter
{
public:
    // How long a faulty channel in one scan counts at most: the time since the scan before.
    static constexpr int64_t kFaultyCreditLimitMs = 60000;

    explicit ScanWriter(const QSqlDatabase &db);

    // False on a database error (then LastError() tells it, and the caller rolls back).
    bool Write(const RingScan &scan);
    QSqlError LastError() const { return mError; }

private:
    struct PortState
    {
        bool loaded = false;
        int64_t lastScanMs = -1;
        qint64 ringId = -1;
        std::vector<int> ringIds;
        std::unordered_map<int, ModuleSnapshot> modules;  // each module as its last row holds it
    };

    bool Load(int port, PortState &state);
    // The module's last row, if it has one.
    bool LastRow(int port, int id, ModuleSnapshot &module, bool &found);
    bool KeepRing(int port, const RingScan &scan, PortState &state);
    bool InsertScan(const RingScan &scan, PortState &state, int64_t &timeMs);
    bool WriteModule(int port, int64_t timeMs, int64_t creditMs, const ModuleSnapshot &module, PortState &state);
    bool Run(QSqlQuery &query);

    QSqlQuery mInsertScan;
    QSqlQuery mInsertRing;
    QSqlQuery mInsertRow;
    QSqlQuery mAddToPeriod;
    QSqlQuery mLastRow;
    QSqlQuery mLastScan;
    QSqlQuery mLastRing;
    std::unordered_map<int, PortState> mPorts;
    QSqlError mError;
};
