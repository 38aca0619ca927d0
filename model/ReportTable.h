#pragma once
// The module table of a report, one row of texts per module in ring order, in the words and
// under the captions of the Module List, and its CSV form.
#include "model/AppliedModes.h"
#include "model/RingScan.h"
#include "model/Verification.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

struct ReportTable
{
    QStringList header;
    QList<QStringList> rows;
};

// The modules of a scan as its replies said them, with the verification's result where there
// is one ("applied after the check" where an Apply came later).
ReportTable BuildReportTable(const RingSnapshot &ring, const std::optional<Verification> &verification,
                             const AppliedModes &applied);

// A header line and one line per row, each ended by CR LF.
QByteArray CsvText(const ReportTable &table);
