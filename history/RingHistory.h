#pragma once
// The ring's memory: an SQLite file that keeps every finished scan (one transaction each,
// with the events it brought and the verification it completed), the acknowledgement of
// events, and thins itself a little at a time. A file that cannot be the history is told once
// through problem(), naming the file and the reason; the history then stays closed and the
// file untouched. Values read from the file that no scan can have (a module ID outside the
// table, a ring order of odd length, text where a number belongs) never leave it: the row is
// passed over, the first such row is told once through problem(), and the history goes on.
// Several programs (one per port) may write one file.
#include "history/HistoryTypes.h"
#include "model/RingEvent.h"
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

    explicit RingHistory(QObject *parent = nullptr);
    ~RingHistory() override;

    // Opens the file, creating it when missing; false (after problem()) when it cannot be the
    // history. keepDays: how long scans are kept one by one before they are thinned to hours.
    bool Open(const QString &path, int keepDays = kDefaultKeepDays);
    void Close();
    bool IsOpen() const { return bool(mWriter); }
    QString Path() const { return mPath; }

    // One transaction: the scan, the events it brought, the verification it completed.
    void Keep(const RingScan &scan, const std::vector<RingEvent> &events = {},
              const std::optional<Verification> &verification = std::nullopt);
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

private:
    bool Begin();
    bool Commit();
    bool Exec(const QString &statement, const QVariantList &values = {}, qint64 *insertedId = nullptr);
    void Fail(const QSqlError &error);
    void Refuse(const QString &reason);
    // The first row passed over since opening is told; empty: none.
    void Damaged(const QString &what);
    QString OpenDatabase();
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
};
