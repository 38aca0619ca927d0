#include "app/WorstChannelsModel.h"

#include "app/DurationText.h"

void WorstChannelsModel::SetChannels(std::vector<ChannelTotal> channels)
{
    beginResetModel();
    mChannels = std::move(channels);
    endResetModel();
}

int WorstChannelsModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(mChannels.size()); }

int WorstChannelsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant WorstChannelsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == TimeFaulty ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const ChannelTotal &channel = At(index.row());
    switch (index.column()) {
    case ModuleID:
        return QString::number(channel.id);
    case Channel:
        return QString::number(channel.channel);
    case Increase:
        return QStringLiteral("+%1").arg(channel.increase);
    default:
        return DurationText(channel.faultyMs);
    }
}

QVariant WorstChannelsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const kTitles[] = {QT_TR_NOOP("Module ID"), QT_TR_NOOP("Channel"), QT_TR_NOOP("Increase"),
                                          QT_TR_NOOP("Time faulty")};
    return tr(kTitles[section]);
}
