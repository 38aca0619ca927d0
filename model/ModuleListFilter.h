#pragma once
// The Module List as shown: sorted by the chosen column (numbers as numbers), and with
// "Faults only" just the modules with a faulty channel or no answer to a locate.
#include <QSortFilterProxyModel>

class ModuleListModel;

class ModuleListFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ModuleListFilter(ModuleListModel *rows, QObject *parent = nullptr);

    void SetFaultsOnly(bool faultsOnly);
    bool FaultsOnly() const { return mFaultsOnly; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    ModuleListModel *mRows;
    bool mFaultsOnly = false;
};
