#pragma once
// One field of a CSV row as the ring log, the report and the reference write it.
#include <QString>

// Quoted when it holds a comma, a quote or a line end; quotes inside are doubled.
QString CsvField(const QString &text);
