#pragma once
// Writes one finished scan into the history inside the caller's transaction: the scan's row,
// its ring order when it changed, a row for each module of which something changed since its
// row before, and the minute sums of the counters' increase and of the faulty time. What was
// last written for each port is remembered, so that a scan costs a few rows. After the clock
// went back, every module gets a row at each scan until the time passes its latest row, so
// that the rows up to the scan written last are the modules as that scan found them.
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
    struct ModuleRowState
    {
        ModuleSnapshot module;  // as the row written last holds it
        int64_t newestMs = -1;  // the latest time of its rows
    };
    struct PortState
    {
        bool loaded = false;
        int64_t lastScanMs = -1;
        qint64 ringId = -1;
        std::vector<int> ringIds;
        std::unordered_map<int, ModuleRowState> modules;
    };

    bool Load(int port, PortState &state);
    // The module's row as of the port's last scan that found modules, if it has one.
    bool LastRow(int port, int id, ModuleRowState &row, bool &found);
    bool KeepRing(int port, const RingScan &scan, PortState &state);
    bool InsertScan(const RingScan &scan, PortState &state, int64_t &timeMs);
    bool WriteModule(int port, int64_t timeMs, int64_t creditMs, const ModuleSnapshot &module, PortState &state);
    bool Run(QSqlQuery &query);

    QSqlQuery mInsertScan;
    QSqlQuery mInsertRing;
    QSqlQuery mInsertRow;
    QSqlQuery mAddToPeriod;
    QSqlQuery mLastRow;
    QSqlQuery mNewestRow;
    QSqlQuery mSaveLastFound;
    QSqlQuery mLastScan;
    QSqlQuery mLastRing;
    std::unordered_map<int, PortState> mPorts;
    QSqlError mError;
};
