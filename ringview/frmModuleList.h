#pragma once
// "Module List": the ring as a table beside Bus Info, linked to it: a selected row frames
// its module's picture, a picture click selects its row, and a row locates as its picture.
#include <QWidget>

class ModuleListFilter;
class ModuleListModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTableView;
class frmBackground;

class frmModuleList : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 11400;
    static constexpr int kClientHeightTwips = 5400;

    frmModuleList(ModuleListModel *rows, frmBackground *busInfo, QWidget *parent = nullptr);

    // Selects the row of module id and scrolls to it; false when it has no row shown.
    bool SelectModule(int id);
    // Locates the module of a shown row as a click on its picture does.
    void LocateRow(int shownRow);
    void txtFindID_Return();
    void CopyRows();

    QLineEdit *txtFindID;
    QLabel *lblFindResult;
    QCheckBox *chkFaultsOnly;
    QTableView *tblModuleList;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void ShowTitle();
    void OnSelectionChanged();
    void KeepSelection();
    void MarkFindID(const QString &problem);

    ModuleListModel *mRows;
    ModuleListFilter *mShown;
    frmBackground *mBusInfo;
    int mSelectedID = -1;  // the module the selection belongs to, across scans
};
