#pragma once
// The channels with the largest increase in a span as a table: module ID, channel, increase,
// time faulty; a screen reader reads it as a table with these headers.
#include "history/HistoryTypes.h"

#include <QAbstractTableModel>
#include <vector>

class WorstChannelsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { ModuleID, Channel, Increase, TimeFaulty, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetChannels(std::vector<ChannelTotal> channels);
    const ChannelTotal &At(int row) const { return mChannels[size_t(row)]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ChannelTotal> mChannels;
};
