#pragma once
// The programming record as a tree for its window: the records newest first, each opening to
// its modules, narrowed to one module ID when asked.
#include "model/ProgrammingRecord.h"

#include <QAbstractItemModel>
#include <vector>

class ProgrammingLog;

class ProgrammingRecordModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column { Time, Programming, Asked, Result, Port, User, Computer, ColumnCount };

    explicit ProgrammingRecordModel(ProgrammingLog *log, QObject *parent = nullptr);

    // Only the records of module id, and of them only its row; -1: all.
    void SetModuleFilter(int id);
    int ModuleFilter() const { return mFilter; }
    // Reads the log afresh.
    void Reload();

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString RecordText(const ProgrammingRecord &record, int column) const;
    QString ModuleText(const ProgrammingRecord &record, const ProgrammedModule &module, int column) const;

    ProgrammingLog *mLog;
    int mFilter = -1;
    std::vector<ProgrammingRecord> mRecords;  // shown, newest first
    std::vector<std::vector<const ProgrammedModule *>> mModules;  // each record's rows shown
};
