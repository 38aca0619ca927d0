#include "model/ModuleListFilter.h"

#include "model/ModuleListModel.h"

ModuleListFilter::ModuleListFilter(ModuleListModel *rows, QObject *parent)
    : QSortFilterProxyModel(parent), mRows(rows)
{
    setSourceModel(rows);
    setSortRole(ModuleListModel::SortRole);
    sort(ModuleListModel::Pos);
}

void ModuleListFilter::SetFaultsOnly(bool faultsOnly)
{
    if (faultsOnly == mFaultsOnly)
        return;
    mFaultsOnly = faultsOnly;
    invalidateRowsFilter();
}

bool ModuleListFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return !mFaultsOnly || mRows->IsFaulty(sourceRow);
}
