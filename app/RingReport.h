#pragma once
// The commissioning report of a scanned ring: a PDF (A4, searchable text, the ring drawn,
// the module table, the last 24 hours of the history, the programming record of the last 30
// days) or as CSV the module table, then the programming record where it has any, written whole
// or not at all.
#include "history/HistoryTypes.h"
#include "model/ProgrammingRecord.h"
#include "model/RingScan.h"
#include "model/Verification.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

struct RingReport
{
    QDateTime time;
    QString programVersion;
    RingScan scan;                              // the last scan that found modules
    std::optional<Verification> verification;   // none: no verification in this run
    AppliedModes applied;                       // what this run sent to the modules
    QStringList referenceDifferences;           // empty: none known
    // The last 24 hours as the history kept them: the channels with the largest increase
    // (ten at most, largest first) and each module's share of the scans it answered.
    bool historyKept = false;
    std::vector<ChannelTotal> largestIncrease;
    std::vector<ModuleShare> answered;
    // The programming record of the last kProgrammingDays, newest first; lasting: kept in the
    // history, else this run's alone.
    static constexpr int kProgrammingDays = 30;
    std::vector<ProgrammingRecord> programmings;
    bool programmingsLasting = false;
};

// Empty on success, else a message naming the path and the system's reason. A name ending in
// ".csv" gets the module table, any other the PDF.
QString SaveRingReport(const RingReport &report, const QString &path);

// "ring-report-2026-12-08-1450.pdf"
QString ProposedReportName(const QDateTime &time);
