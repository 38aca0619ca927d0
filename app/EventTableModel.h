#pragma once
// The event list as a table for the events window: newest at the top, unacknowledged in bold.
#include <QAbstractTableModel>

class EventList;

class EventTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit EventTableModel(EventList *events, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    EventList *mEvents;
};
