#pragma once
// The reference ring and the events of every scan: loads the reference at start-up, saves it
// on request, turns each settled scan into events, logs them and calls for attention.
#include "model/EventList.h"
#include "model/ReferenceFile.h"
#include "model/RingScan.h"
#include "model/RingWatch.h"
#include "model/Verification.h"

#include <QDateTime>
#include <QObject>
#include <functional>

class RingLog;
class QWidget;

class RingMonitor : public QObject
{
    Q_OBJECT

public:
    RingMonitor(QWidget *window, RingLog *log);

    // The clock the events' times come from; empty: the system's local time.
    void SetClock(std::function<QDateTime()> now) { mNow = std::move(now); }

    // The file the configuration at iniPath names with "reference", beside it by default.
    static QString ConfiguredPath(const QString &iniPath);

    // Reads the configured reference; a bad one is reported once and not compared against.
    void LoadReference();
    // The ring of the last scan that found modules becomes the reference, after a question
    // where one exists.
    void SaveReference();
    void OnScanSettled(const RingScan &scan);
    // Each module that differs from what was applied, or did not answer, is an event and a
    // row of the ring log.
    void OnVerified(const std::vector<VerifyResult> &results);
    // How the last ring found differs from the reference: for the report.
    QStringList ReferenceDifferences() const;

    EventList &Events() { return mEvents; }
    // "Reference: 118 of 120 present", "No reference ring", "Reference unreadable: line 7".
    QString ReferenceText() const;
    // "3 new events"; empty when all are acknowledged.
    QString NewEventsText() const;

signals:
    void referenceChanged();

private:
    QDateTime Now() const { return mNow ? mNow() : QDateTime::currentDateTime(); }

    QWidget *mWindow;
    RingLog *mLog;
    EventList mEvents;
    RingWatch mWatch;
    ReferenceFile mFile;
    std::function<QDateTime()> mNow;
};
