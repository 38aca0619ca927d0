#pragma once
// The ring log: CSV rows appended to the file that the configuration's key "log" names, one
// per counted module after each scan, one for a scan that found none or an unanswered locate.
#include "model/RingEvent.h"
#include "model/RingScan.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

class RingLog : public QObject
{
    Q_OBJECT

public:
    static const QString kHeader;

    // Failures are reported in a message box over messageParent.
    explicit RingLog(QWidget *messageParent = nullptr);

    // The clock the rows' times come from; empty: the system's local time.
    void SetClock(std::function<QDateTime()> now) { mNow = std::move(now); }

    // The file the configuration at iniPath names, made absolute beside it; empty without the key.
    static QString ConfiguredPath(const QString &iniPath);
    // "2026-12-07T06:40:00+01:00": ISO 8601 with the offset from UTC, never "Z".
    static QString TimeText(const QDateTime &time);

    // The rows of a scan whose replies are all in: one per module, or "no modules found".
    void WriteScan(const RingScan &scan);
    void WriteLocateUnanswered(int position, int id);
    // An event as a row: its text as the note, the rest what the table knows of its module.
    void WriteEvent(const RingEvent &event);

private:
    void Append(const QStringList &rows);
    QString Now() const;

    QWidget *mMessageParent;
    std::function<QDateTime()> mNow;
    QString mReportedPath;
};
