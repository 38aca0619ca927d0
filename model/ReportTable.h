#pragma once
// The module table of a report, one row of texts per module in ring order, and its CSV form.
#include "model/Verification.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <vector>

struct ReportTable
{
    QStringList header;
    QList<QStringList> rows;
};

// The modules of a scan as the records hold them, with the verification's result where there is one.
ReportTable BuildReportTable(const std::vector<int16_t> &order, const std::vector<VerifyResult> &verification);

// Quoted when it holds a comma, a quote or a line end; quotes inside are doubled.
QString CsvField(const QString &text);
// A header line and one line per row, each ended by CR LF.
QByteArray CsvText(const ReportTable &table);
