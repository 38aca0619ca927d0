#include "app/ProgrammingRecordModel.h"

#include "core/ProgrammingLog.h"

#include <QDateTime>

namespace {
// A module's row carries its record's row + 1; a record's row carries 0.
constexpr quintptr kRecordRow = 0;
} // namespace

ProgrammingRecordModel::ProgrammingRecordModel(ProgrammingLog *log, QObject *parent)
    : QAbstractItemModel(parent), mLog(log)
{
    connect(mLog, &ProgrammingLog::changed, this, &ProgrammingRecordModel::Reload);
    Reload();
}

void ProgrammingRecordModel::SetModuleFilter(int id)
{
    if (id == mFilter)
        return;
    mFilter = id;
    Reload();
}

void ProgrammingRecordModel::Reload()
{
    beginResetModel();
    mRecords = mLog->Records();
    if (mFilter >= 0)
        std::erase_if(mRecords, [this](const ProgrammingRecord &record) { return !record.Concerns(mFilter); });
    mModules.clear();
    for (const ProgrammingRecord &record : mRecords) {
        std::vector<const ProgrammedModule *> rows;
        for (const ProgrammedModule &module : record.modules)
            if (mFilter < 0 || module.id == mFilter)
                rows.push_back(&module);
        mModules.push_back(std::move(rows));
    }
    endResetModel();
}

QModelIndex ProgrammingRecordModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    return createIndex(row, column, parent.isValid() ? quintptr(parent.row() + 1) : kRecordRow);
}

QModelIndex ProgrammingRecordModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == kRecordRow)
        return {};
    return createIndex(int(child.internalId() - 1), 0, kRecordRow);
}

int ProgrammingRecordModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(mRecords.size());
    if (parent.internalId() != kRecordRow || parent.column() != 0)
        return 0;
    return int(mModules[size_t(parent.row())].size());
}

int ProgrammingRecordModel::columnCount(const QModelIndex &) const { return ColumnCount; }

QString ProgrammingRecordModel::RecordText(const ProgrammingRecord &record, int column) const
{
    switch (column) {
    case Time:
        return QDateTime::fromMSecsSinceEpoch(record.timeMs).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Programming:
        return ProgrammingTexts::Kind(record.kind);
    case Asked:
        return ProgrammingTexts::Asked(record);
    case Result:
        return ProgrammingTexts::Outcome(record);
    case Port:
        return ProgrammingTexts::Port(record);
    case User:
        return record.user;
    case Computer:
        return record.computer;
    }
    return {};
}

QString ProgrammingRecordModel::ModuleText(const ProgrammingRecord &record, const ProgrammedModule &module,
                                           int column) const
{
    const bool verify = record.kind == ProgrammingKind::Verify;
    switch (column) {
    case Programming:
        return tr("Module %1").arg(module.id);
    case Asked:
        return verify ? QString()
                      : tr("%1 sent, %2").arg(ProgrammingTexts::Mode(module.mode), ProgrammingTexts::Keep(module.keep));
    case Result: {
        const QString verified = ProgrammingTexts::Verified(module);
        if (verify)
            return verified;
        const QString frame = ProgrammingTexts::Frame(module.frame);
        return verified.isEmpty() ? frame : tr("%1; verified: %2").arg(frame, verified);
    }
    }
    return {};
}

QVariant ProgrammingRecordModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    if (index.internalId() == kRecordRow)
        return RecordText(mRecords[size_t(index.row())], index.column());
    const size_t record = size_t(index.internalId() - 1);
    return ModuleText(mRecords[record], *mModules[record][size_t(index.row())], index.column());
}

QVariant ProgrammingRecordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Time:
        return tr("Time");
    case Programming:
        return tr("Programming");
    case Asked:
        return tr("Asked");
    case Result:
        return tr("Result");
    case Port:
        return tr("Port");
    case User:
        return tr("User");
    case Computer:
        return tr("Computer");
    }
    return {};
}
