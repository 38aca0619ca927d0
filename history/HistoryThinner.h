#pragma once
// Thins the history a little at a time: an hour older than the kept days becomes one row per
// module (the sum of its increases, its faulty time, the scans it answered) and one count of
// the port's scans; its scans, ring orders and module rows go, except what the present still
// needs (each module's last row, each port's last scan that found modules). Events beyond
// the newest that the Events window shows go too.
#include <QSqlDatabase>
#include <QSqlError>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

class HistoryThinner
{
public:
    // One step stops taking modules once it has run this long.
    static constexpr int64_t kStepBudgetMs = 5;
    static constexpr int64_t kHourS = 3600;
    static constexpr int kEventsPerStep = 2000;

    explicit HistoryThinner(const QSqlDatabase &db);

    // One step inside the caller's transaction; false on a database error. more: whether
    // another step has work. nowMs: the time the kept days count back from (never later than
    // the newest scan kept, so that nothing is stored beyond it); -1 thins only the events.
    bool Step(int64_t nowMs, int keepDays, bool &more);
    QSqlError LastError() const { return mError; }
    // Everything before this (seconds since 1970 UTC) is kept as hours; -1 before the first step.
    int64_t ThinnedUntilS() const { return mUntilS; }

private:
    struct PortHour
    {
        int port = 0;
        int scans = 0;
        std::map<int, int> answered;  // module ID: scans answered
        std::set<qint64> rings;
        int nextModule = -1;  // the first module not yet thinned
    };

    bool LoadUntil(bool &found);
    bool SaveUntil(int64_t untilS);
    bool Ports(std::vector<int> &ports);
    bool FirstScanFrom(int64_t fromS, std::optional<int64_t> &firstS);
    bool Prepare(int64_t hourS);
    bool ThinModule(const PortHour &hour, int id, int answered);
    bool FinishPort(const PortHour &hour);
    bool ThinEvents(bool &more);
    bool Exec(const QString &statement, const QVariantList &values, QSqlQuery *out = nullptr);

    QSqlDatabase mDb;
    int64_t mUntilS = -1;
    int64_t mHourS = -1;          // the hour being thinned
    std::vector<PortHour> mPorts; // its ports, the first still to finish at the front
    QSqlError mError;
};
