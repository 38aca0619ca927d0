#include "model/ModuleListModel.h"

#include "model/AppliedModes.h"
#include "model/Global.h"
#include "model/ModeByte.h"
#include "model/ModuleTexts.h"

#include <QDateTime>
#include <QTime>
#include <algorithm>

namespace {

// Each column's header and its widest usual text, in column order.
struct ColumnText
{
    const char *caption;
    const char *widest;
};
const ColumnText kColumns[ModuleListModel::ColumnCount] = {
    {QT_TRANSLATE_NOOP("ModuleListModel", "Pos"), "1000"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "ID"), "32000"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Side"), "G"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Version"), "25.5"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Baud"), "115200"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Parity"), QT_TRANSLATE_NOOP("ModuleListModel", "even")},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Stop"), "2"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Error Relais"), "NOT CH1_Error AND NOT CH2_Error"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "CH1"), QT_TRANSLATE_NOOP("ModuleListModel", "faulty (no locate answer)")},
    {QT_TRANSLATE_NOOP("ModuleListModel", "CH1 Errors"), "32767"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "CH2"), QT_TRANSLATE_NOOP("ModuleListModel", "faulty (no locate answer)")},
    {QT_TRANSLATE_NOOP("ModuleListModel", "CH2 Errors"), "32767"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Change"), "+32767"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Last Reply"), "23:59:59"},
    {QT_TRANSLATE_NOOP("ModuleListModel", "Verified"),
     QT_TRANSLATE_NOOP("ModuleListModel", "differs: mode 0x13, applied 0x4B")}};

QString ChannelText(bool faulty, bool locateFailed)
{
    return locateFailed ? ModuleListModel::tr("faulty (no locate answer)") : ChannelStateText(faulty);
}

QString TimeText(float secondsSinceMidnight)
{
    if (secondsSinceMidnight <= 0)
        return {};
    return QTime(0, 0).addMSecs(int(double(secondsSinceMidnight) * 1000.0)).toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

ModuleListModel::ModuleListModel(const RingKeeper *keeper, const RingTable *table, QObject *parent)
    : QAbstractTableModel(parent),
      mKeeper(keeper),
      mTable(table)
{
    mRowOf.fill(-1);
}

int ModuleListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(mOrder.size()); }

int ModuleListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ModuleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return Caption(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString ModuleListModel::Caption(int column)
{
    return column >= 0 && column < ColumnCount ? tr(kColumns[column].caption) : QString();
}

QString ModuleListModel::WidestText(int column)
{
    return column >= 0 && column < ColumnCount ? tr(kColumns[column].widest) : QString();
}

QVariant ModuleListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return Text(index.row(), index.column());
    if (role == SortRole)
        return SortKey(index.row(), index.column());
    return {};
}

int ModuleListModel::ModuleIDAt(int row) const
{
    return row >= 0 && row < int(mOrder.size()) ? mOrder[size_t(row)] : -1;
}

int ModuleListModel::RowOf(int id) const { return IsTableID(id) ? mRowOf[size_t(id)] : -1; }

bool ModuleListModel::IsFaulty(int row) const
{
    if (row < 0 || row >= int(mShown.size()))
        return false;
    const Shown &shown = mShown[size_t(row)];
    return shown.status1 || shown.status2 || shown.locateFailed;
}

ModuleListModel::Shown ModuleListModel::Snapshot(int id) const
{
    const ModuleData &record = mTable->Module(id);
    return {record.GetTimeStamp(), record.GetErrorCounterChannel1(), record.GetErrorCounterChannel2(),
            record.GetVersion(), record.GetMode(), record.GetSide(), record.GetStatusChannel1(),
            record.GetStatusChannel2(), mTable->LocateFailed(id)};
}

QString ModuleListModel::Text(int row, int column) const
{
    const int id = mOrder[size_t(row)];
    const Shown &shown = mShown[size_t(row)];
    const uint8_t side = IsTableID(id) ? mScanSide[size_t(id)] : 0;
    switch (Column(column)) {
    case Pos:
        return QString::number(row);
    case ID:
        return QString::number(id);
    case Side:
        return side ? QString(QLatin1Char(char(side))) : QString();
    case Version:
        return VersionText(shown.version);
    case Baud:
        return ModeByte::BaudText(shown.mode);
    case Parity:
        return ModeByte::ParityText(shown.mode);
    case Stop:
        return ModeByte::HasTwoStopBits(shown.mode) ? QStringLiteral("2") : QStringLiteral("1");
    case ErrorRelais:
        return ModeByte::RuleText(shown.mode);
    case CH1:
        return ChannelText(shown.status1, shown.locateFailed);
    case CH1Errors:
        return QString::number(shown.counter1);
    case CH2:
        return ChannelText(shown.status2, shown.locateFailed);
    case CH2Errors:
        return QString::number(shown.counter2);
    case Change: {
        const int increase = mKeeper->Change(id);
        return increase > 0 ? QStringLiteral("+%1").arg(increase) : QString();
    }
    case LastReply:
        return TimeText(shown.timeStamp);
    case Verified: {
        // A send after the last check that no reply has confirmed yet; a check after the send
        // says what it found.
        const auto &verification = mKeeper->LastVerification();
        const auto sent = mTable->Applied().Applied(id);
        if (sent && !sent->readBack && (!verification || sent->stamp > verification->appliedStamp))
            return tr("applied, not yet read back");
        return verification ? verification->TextFor(id, mTable->Applied()) : QString();
    }
    case ColumnCount:
        break;
    }
    return {};
}

QVariant ModuleListModel::SortKey(int row, int column) const
{
    const int id = mOrder[size_t(row)];
    const Shown &shown = mShown[size_t(row)];
    switch (Column(column)) {
    case Pos:
        return row;
    case ID:
        return id;
    case Version:
        return shown.version;
    case Baud:
        return shown.mode & ModeByte::kBaudMask;
    case CH1Errors:
        return shown.counter1;
    case CH2Errors:
        return shown.counter2;
    case Change:
        return mKeeper->Change(id);
    case LastReply:
        return shown.timeStamp;
    default:
        return Text(row, column);
    }
}

void ModuleListModel::Follow()
{
    FollowOrder(mTable->Order().data(), mTable->Count(), [this](int, int id) { return Snapshot(id); });
}

void ModuleListModel::FollowOrder(const int16_t *order, int count, const std::function<Shown(int row, int id)> &shownAt)
{
    const int kept = std::min<int>(count, int(mOrder.size()));
    const bool samePrefix = std::equal(mOrder.begin(), mOrder.begin() + kept, order);
    const auto rowFor = [&](int row, int16_t id) {
        mOrder[size_t(row)] = id;
        mShown[size_t(row)] = shownAt(row, id);
        if (IsTableID(id)) {
            mRowOf[size_t(id)] = row;
            if (IsScanSide(mShown[size_t(row)].side))
                mScanSide[size_t(id)] = mShown[size_t(row)].side;
        }
    };
    const auto forget = [this](int from) {
        for (size_t k = size_t(from); k < mOrder.size(); ++k) {
            if (IsTableID(mOrder[k]))
                mRowOf[size_t(mOrder[k])] = -1;
        }
    };

    if (!samePrefix) {
        beginResetModel();
        forget(0);
        mOrder.resize(size_t(count));
        mShown.resize(size_t(count));
        for (int k = 0; k < count; ++k)
            rowFor(k, order[k]);
        endResetModel();
        return;
    }
    if (count < int(mOrder.size())) {
        beginRemoveRows({}, count, int(mOrder.size()) - 1);
        forget(count);
        mOrder.resize(size_t(count));
        mShown.resize(size_t(count));
        endRemoveRows();
    }
    // Rows that stay: only those whose records changed are repainted, in runs.
    int runStart = -1;
    for (int k = 0; k <= kept; ++k) {
        const bool changed = k < kept && !(mShown[size_t(k)] == shownAt(k, order[k]));
        if (changed) {
            rowFor(k, order[k]);
            if (runStart < 0)
                runStart = k;
        } else if (runStart >= 0) {
            emit dataChanged(index(runStart, 0), index(k - 1, ColumnCount - 1));
            runStart = -1;
        }
    }
    if (count > int(mOrder.size())) {
        const int first = int(mOrder.size());
        beginInsertRows({}, first, count - 1);
        mOrder.resize(size_t(count));
        mShown.resize(size_t(count));
        for (int k = first; k < count; ++k)
            rowFor(k, order[k]);
        endInsertRows();
    }
}

void ModuleListModel::TakeScan(const RingScan &scan)
{
    if (scan.cut)
        return;
    std::vector<int16_t> order;
    order.reserve(scan.modules.size());
    for (const ModuleSnapshot &module : scan.modules)
        order.push_back(int16_t(module.id));
    FollowOrder(order.data(), int(std::min<size_t>(order.size(), kTableSize)), [this, &scan](int row, int id) {
        const ModuleSnapshot &module = scan.modules[size_t(row)];
        const QTime parsed = QDateTime::fromMSecsSinceEpoch(module.parsedMs).time();
        return Shown{float(parsed.msecsSinceStartOfDay()) / 1000.0f, int16_t(module.counter1), int16_t(module.counter2),
                     module.version, module.mode, module.side, module.faulty1, module.faulty2,
                     mTable->LocateFailed(id)};
    });
    if (!mOrder.empty())
        emit dataChanged(index(0, Change), index(int(mOrder.size()) - 1, Change));
    ShowVerification();
}

void ModuleListModel::ShowVerification()
{
    if (!mOrder.empty())
        emit dataChanged(index(0, Verified), index(int(mOrder.size()) - 1, Verified));
}
