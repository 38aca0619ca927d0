#pragma once
// The record of every programming of the ring: each Apply and Verify Settings, kept in the
// history when there is one, and for the run in any case.
#include "model/ProgrammingRecord.h"

#include <QObject>
#include <vector>

class RingHistory;

class ProgrammingLog : public QObject
{
    Q_OBJECT

public:
    explicit ProgrammingLog(RingHistory &history, QObject *parent = nullptr);

    // A record of kind on port, stamped now with the user and the computer.
    static ProgrammingRecord Begun(ProgrammingKind kind, int port, const QString &device);
    // An Apply's record: into the history, and the run's.
    void Add(const ProgrammingRecord &record);
    // A verification's record, which the history keeps with its scan.
    void AddKept(const ProgrammingRecord &record);
    // Newest first, from fromMs on, each Apply's frames with the verification that judged them;
    // from the history while it is open, else this run's.
    std::vector<ProgrammingRecord> Records(int64_t fromMs = 0) const;
    // Whether the records outlast the run (a history is open).
    bool Lasting() const;
    // The history opened or closed: the records are read afresh.
    void Reread() { emit changed(); }

signals:
    void changed();

private:
    RingHistory &mHistory;
    std::vector<ProgrammingRecord> mRun;
};
