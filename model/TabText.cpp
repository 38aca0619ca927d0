#include "model/TabText.h"

#include <QAbstractItemModel>
#include <QStringList>

QString TabText(const QAbstractItemModel &model, const QList<int> &rows)
{
    const int columns = model.columnCount();
    QString text;
    QStringList cells;
    for (int c = 0; c < columns; ++c)
        cells << model.headerData(c, Qt::Horizontal).toString();
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int row : rows) {
        cells.clear();
        for (int c = 0; c < columns; ++c)
            cells << model.index(row, c).data().toString();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}
