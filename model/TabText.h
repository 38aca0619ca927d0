#pragma once
// Rows of a table as tab-separated text with its header line, to paste into a spreadsheet.
#include <QList>
#include <QString>

class QAbstractItemModel;

// The given rows in their order, every column; one line each, ending in a line break.
QString TabText(const QAbstractItemModel &model, const QList<int> &rows);
