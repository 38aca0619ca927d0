#include "app/EventTableModel.h"

#include "model/EventList.h"

#include <QFont>

EventTableModel::EventTableModel(EventList *events, QObject *parent)
    : QAbstractTableModel(parent),
      mEvents(events)
{
    connect(events, &EventList::changed, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int EventTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(mEvents->Count());
}

int EventTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 4; }

QVariant EventTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RingEvent &event = mEvents->At(mEvents->Count() - 1 - size_t(index.row()));
    if (role == Qt::FontRole && !event.acknowledged) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return event.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case 1:
        return event.id < 0 ? QString() : QString::number(event.id);
    case 2:
        return event.position < 0 ? QString() : QString::number(event.position);
    default:
        return event.text;
    }
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const kTitles[] = {QT_TR_NOOP("Time"), QT_TR_NOOP("ID"), QT_TR_NOOP("Position"),
                                          QT_TR_NOOP("Event")};
    return tr(kTitles[section]);
}
