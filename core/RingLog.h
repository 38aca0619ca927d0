#pragma once
// The ring log: CSV rows appended to the file that the configuration's key "log" names, one
// per counted module after each scan, one for a scan that found none or was cut short, one for
// an unanswered locate, and one per event.
#include "model/RingEvent.h"
#include "model/RingScan.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class RingLog : public QObject
{
    Q_OBJECT

public:
    static const QString kHeader;

    using QObject::QObject;

    // The file the configuration at iniPath names, made absolute beside it; empty without the key.
    static QString ConfiguredPath(const QString &iniPath);
    // The file rows go to; empty: none.
    void SetPath(const QString &path) { mPath = path; }
    // "2026-12-07T06:40:00+01:00": ISO 8601 with the offset from UTC, never "Z".
    static QString TimeText(const QDateTime &time);

    // The rows of a scan whose replies are all in: one per module as its reply said it, or
    // "no modules found"; a scan cut short by the lost port is the one row "scan cut: the port
    // was lost".
    void WriteScan(const RingScan &scan);
    void WriteLocateUnanswered(int position, int id);
    // An event as a row: its text as the note; the module's data where scan counted it, else
    // left empty. A missing module is in no position of the scan: where it stood, in the
    // reference or else in the ring found before, is told in the note.
    void WriteEvent(const RingEvent &event, const RingScan &scan, const std::optional<RingSnapshot> &reference);

signals:
    // The file cannot be written: said once per file, with its path and the system's reason.
    void problem(const QString &text);

private:
    void Append(const QStringList &rows);

    QString mPath;

    QString mReportedPath;
};
