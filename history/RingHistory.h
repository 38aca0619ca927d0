#pragma once
// The ring's memory: an SQLite file that keeps every finished scan (one transaction each,
// with the events it brought and the verification it completed), the acknowledgement of
// events, and thins itself a little at a time. A file that cannot be the history is told once
// through problem(), naming the file and the reason. A fault that may pass (a lock, a full
// disk, a file out of reach) is tried again at a scan, at most once a minute, and the scans
// missed meanwhile are told through keptAgain() once the file takes scans again; a file that is
// not this program's history stays closed and untouched for the run. A scan whose time is more
// than a day ahead of the newest scan kept is not kept until the clock has run on with it for
// a while, and the history is thinned by the time of the scans it kept, never by a clock ahead. Values read from the file that no scan can have (a module ID outside the
// table, a ring order of odd length, text where a number belongs) never leave it: the row is
// passed over, the first such row is told once through problem(), and the history goes on.
// Several programs (one per port) may write one file.
#include "history/HistoryFaults.h"
#include "history/HistoryTypes.h"
#include "model/RingEvent.h"
#include "model/ProgrammingRecord.h"
#include "model/RingScan.h"
#include "model/Verification.h"

#include <QObject>
#include <QSqlDatabase>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class HistoryThinner;
class QSqlError;
class StoredRow;
class ScanWriter;
class WalCheckpointer;

class RingHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultKeepDays = 90;
    // How long a write waits for another program's transaction on the same file.
    static constexpr int kBusyTimeoutMs = 2000;
    // Thinning starts this long after opening, then steps with a pause between, and looks
    // again for work now and then.
    static constexpr int kThinStartMs = 5000;
    static constexpr int kThinPauseMs = 200;
    static constexpr int kThinIdleMs = 600000;
    // The program's own connection copies the log back only when the checkpointer's thread has
    // fallen this far behind (pages of the log).
    static constexpr int kLogPagesLimit = 10000;
    // A write that failed is tried again at the first scan this long after (the program's
    // monotonic clock).
    static constexpr int64_t kRetryMs = 60000;
    // A scan's time this far ahead of the newest scan kept in this run, and of the time that
    // passed since on the monotonic clock, is not trusted, until the clock has kept running with
    // it for kTrustAfterMs. A newest scan of an earlier run bounds nothing: how long the program
    // was off is not known.
    static constexpr int64_t kAheadLimitMs = 86400000;
    static constexpr int64_t kTrustAfterMs = kTrustAheadAfterMinutes * int64_t(60000);

    explicit RingHistory(QObject *parent = nullptr);
    ~RingHistory() override;

    // Opens the file, creating it when missing; false (after problem()) when it cannot be the
    // history. keepDays: how long scans are kept one by one before they are thinned to hours.
    bool Open(const QString &path, int keepDays = kDefaultKeepDays);
    void Close();
    bool IsOpen() const { return bool(mWriter); }
    QString Path() const { return mPath; }
    // Scans handed to Keep() since the history was first opened that it did not keep.
    uint64_t ScansMissed() const { return mMissed; }

    // One transaction: the scan, the events it brought, the verification it completed, and
    // the verification's record (its results are the verification's).
    void Keep(const RingScan &scan, const std::vector<RingEvent> &events = {},
              const std::optional<Verification> &verification = std::nullopt,
              const ProgrammingRecord *verifying = nullptr);
    // An Apply's record, with its modules, in one transaction.
    void KeepProgramming(const ProgrammingRecord &record);
    // The programming records from fromMs on, oldest first, each verification's with its results.
    std::vector<ProgrammingRecord> Programmings(int64_t fromMs);
    // Several scans in one transaction, in their order.
    void KeepAll(const std::vector<RingScan> &scans);
    // Every event of the port kept so far, up to the newest this program knows of, is
    // acknowledged; another program's port on the same file keeps its own.
    void AcknowledgeEvents(int port);
    // The port's newest events kept, oldest first, at most limit.
    std::vector<RingEvent> Events(int port, size_t limit);
    // The port's last scan that found modules, as kept (serial 0); none without one.
    std::optional<RingScan> LastFound(int port);
    // Every module a scan of the port has found, as far back as the history reaches.
    std::vector<int> ModulesSeen(int port);

    std::vector<TrendBucket> ModuleTrend(int port, int id, int64_t fromMs, int64_t toMs, int64_t widthMs);
    std::vector<ChannelTotal> WorstChannels(int port, int64_t fromMs, int64_t toMs, size_t limit);
    std::vector<ModuleShare> AnswerShares(int port, int64_t fromMs, int64_t toMs);
    // The time of the oldest scan kept (ms since 1970 UTC), or -1.
    int64_t FirstScanMs();

    // The thinning timer's handler: one step, in a transaction of its own.
    void ThinOneStep();

signals:
    void problem(const QString &text);
    // "The ring history is kept again in ... / The ring history missed 37 scans while locked by
    // another program."
    void keptAgain(const QString &text);

private:
    enum class State { Closed, Open, Waiting, Refused };

    // The file opened, checked and made ready; else the reason (passingWhile: see Down()).
    QString OpenFile(QString &passingWhile);
    // Open, or opened again when a passing fault has had its minute; false: the scan is missed.
    bool Ready();
    // Whether a scan of this time is kept, by the newest scan kept and the monotonic clock.
    bool Trusted(int64_t timeMs);
    void Missed();
    void Kept(int64_t timeMs);
    // Closes after a fault: waits for a retry when it may pass (passingWhile names it), else
    // refuses the file for the run.
    void Down(const QString &reason, const QString &passingWhile);
    void Shut();
    bool Write(const RingScan &scan, const std::vector<RingEvent> &events, const std::optional<Verification> &verification,
               const ProgrammingRecord *verifying);
    int64_t NewestScanMs();
    bool Begin();
    bool Commit();
    bool Exec(const QString &statement, const QVariantList &values = {}, qint64 *insertedId = nullptr);
    void Fail(const QSqlError &error);
    // The first row passed over since opening is told; empty: none.
    void Damaged(const QString &what);
    QString OpenDatabase(QString &passingWhile);
    bool InsertProgramming(const ProgrammingRecord &record, const QVariant &verification);
    // The results of the record's verification row, by module ID.
    bool ReadVerifyResults(ProgrammingRecord &record, const QVariant &verification, StoredRow &row);
    int64_t ThinnedUntilMs() const;

    QString mConnection;
    QString mPath;
    int mKeepDays = kDefaultKeepDays;
    QSqlDatabase mDb;
    std::unique_ptr<ScanWriter> mWriter;
    std::unique_ptr<HistoryThinner> mThinner;
    std::unique_ptr<WalCheckpointer> mCheckpointer;
    QTimer mThinTimer;
    qint64 mLastEventId = 0;
    bool mDamageTold = false;
    State mState = State::Closed;
    int64_t mRetryAtMs = 0;       // on the monotonic clock
    uint64_t mMissed = 0;
    uint64_t mMissedUntold = 0;   // since the history last kept a scan
    QString mMissedWhile;         // "while locked by another program"
    int64_t mNewestMs = -1;       // the newest scan kept, -1: none
    std::optional<int64_t> mNewestKeptAtMs;  // on the monotonic clock: when this run kept it
    int64_t mAheadSinceMs = -1;   // on the monotonic clock: since when scans came too far ahead
    bool mAheadTold = false;
};
