#include "ringview/frmModuleList.h"

#include "dialogs/ChildWindow.h"
#include "model/ModuleIDText.h"
#include "model/ModuleListFilter.h"
#include "model/ModuleListModel.h"
#include "model/TabText.h"
#include "ringview/frmBackground.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTableView>
#include <algorithm>

frmModuleList::frmModuleList(ModuleListModel *rows, frmBackground *busInfo, QWidget *parent)
    : QWidget(parent), mRows(rows), mShown(new ModuleListFilter(rows, this)), mBusInfo(busInfo)
{
    setObjectName(QStringLiteral("frmModuleList"));

    auto *grid = new QGridLayout(this);
    auto *findLabel = new QLabel(tr("Find ID:"), this);
    txtFindID = new QLineEdit(this);
    txtFindID->setObjectName(QStringLiteral("txtFindID"));
    txtFindID->setMaximumWidth(80);
    findLabel->setBuddy(txtFindID);
    lblFindResult = new QLabel(this);
    lblFindResult->setObjectName(QStringLiteral("lblFindResult"));
    chkFaultsOnly = new QCheckBox(tr("Faults only"), this);
    chkFaultsOnly->setObjectName(QStringLiteral("chkFaultsOnly"));

    tblModuleList = new QTableView(this);
    tblModuleList->setObjectName(QStringLiteral("tblModuleList"));
    tblModuleList->setAccessibleName(tr("Modules"));
    tblModuleList->setModel(mShown);
    tblModuleList->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblModuleList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblModuleList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblModuleList->setSortingEnabled(true);
    tblModuleList->sortByColumn(ModuleListModel::Pos, Qt::AscendingOrder);
    tblModuleList->verticalHeader()->hide();
    tblModuleList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblModuleList->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    tblModuleList->horizontalHeader()->setHighlightSections(false);
    tblModuleList->installEventFilter(this);
    for (int c = 0; c < ModuleListModel::ColumnCount; ++c) {
        const QString caption = rows->headerData(c, Qt::Horizontal).toString();
        const int text = std::max(fontMetrics().horizontalAdvance(caption), fontMetrics().horizontalAdvance(ModuleListModel::WidestText(c)));
        tblModuleList->setColumnWidth(c, text + 2 * fontMetrics().averageCharWidth() + 12);
    }

    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(txtFindID, 0, 1);
    grid->addWidget(lblFindResult, 0, 2);
    grid->addWidget(chkFaultsOnly, 0, 3);
    grid->setColumnStretch(2, 1);
    grid->addWidget(tblModuleList, 1, 0, 1, 4);

    connect(txtFindID, &QLineEdit::returnPressed, this, &frmModuleList::txtFindID_Return);
    connect(txtFindID, &QLineEdit::textChanged, this, [this] {
        MarkFindID(QString());
        lblFindResult->clear();
    });
    connect(tblModuleList, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { LocateRow(index.row()); });
    connect(tblModuleList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmModuleList::OnSelectionChanged);
    const auto rowsMoved = [this] {
        ShowTitle();
        KeepSelection();
    };
    connect(mShown, &QAbstractItemModel::rowsInserted, this, rowsMoved);
    connect(mShown, &QAbstractItemModel::rowsRemoved, this, rowsMoved);
    connect(mShown, &QAbstractItemModel::modelReset, this, rowsMoved);
    connect(mShown, &QAbstractItemModel::layoutChanged, this, rowsMoved);
    connect(chkFaultsOnly, &QCheckBox::toggled, this, [this, rowsMoved](bool on) {
        mShown->SetFaultsOnly(on);
        rowsMoved();
    });
    if (mBusInfo)
        connect(mBusInfo, &frmBackground::moduleClicked, this, &frmModuleList::SelectModule);
    ShowTitle();
}

void frmModuleList::ShowTitle()
{
    if (mShown->FaultsOnly())
        setWindowTitle(tr("Module List - %1 of %2 shown").arg(mShown->rowCount()).arg(mRows->rowCount()));
    else
        setWindowTitle(tr("Module List"));
}

bool frmModuleList::SelectModule(int id)
{
    const QModelIndex shown = mShown->mapFromSource(mRows->index(mRows->RowOf(id), 0));
    if (!shown.isValid())
        return false;
    mSelectedID = id;
    tblModuleList->selectionModel()->setCurrentIndex(
        shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tblModuleList->scrollTo(shown);
    return true;
}

void frmModuleList::OnSelectionChanged()
{
    const QModelIndexList rows = tblModuleList->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const QModelIndex current = tblModuleList->currentIndex();
    const QModelIndex chosen = current.isValid() && tblModuleList->selectionModel()->isRowSelected(current.row())
                                   ? current
                                   : rows.first();
    mSelectedID = mRows->ModuleIDAt(mShown->mapToSource(chosen).row());
    if (mBusInfo)
        mBusInfo->MarkModule(mSelectedID);
}

// After the rows moved or came anew: the selection stays with its module.
void frmModuleList::KeepSelection()
{
    if (mSelectedID < 0)
        return;
    const QModelIndex shown = mShown->mapFromSource(mRows->index(mRows->RowOf(mSelectedID), 0));
    if (!shown.isValid() || tblModuleList->selectionModel()->isRowSelected(shown.row()))
        return;
    tblModuleList->selectionModel()->setCurrentIndex(
        shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void frmModuleList::LocateRow(int shownRow)
{
    const int position = mShown->mapToSource(mShown->index(shownRow, 0)).row();
    if (position < 0 || !mBusInfo)
        return;
    // Queued as the picture's click is: the locate waits, and rows may be rebuilt meanwhile.
    QPointer<frmBackground> busInfo(mBusInfo);
    QMetaObject::invokeMethod(
        mBusInfo, [busInfo, position] { if (busInfo) busInfo->picModule_Click(position); }, Qt::QueuedConnection);
}

void frmModuleList::MarkFindID(const QString &problem)
{
    txtFindID->setToolTip(problem);
    QPalette palette = txtFindID->palette();
    palette.setColor(QPalette::Base, problem.isEmpty() ? QPalette().color(QPalette::Base) : QColor(255, 200, 200));
    txtFindID->setPalette(palette);
}

void frmModuleList::txtFindID_Return()
{
    int id = -1;
    const QString problem = ModuleIDProblem(txtFindID->text(), &id);
    MarkFindID(problem);
    if (!problem.isEmpty()) {
        lblFindResult->setText(problem);
        return;
    }
    if (mRows->RowOf(id) < 0)
        lblFindResult->setText(tr("Module %1 is not in the ring").arg(id));
    else if (!SelectModule(id))
        lblFindResult->setText(tr("Module %1 is not faulty: \"Faults only\" hides it").arg(id));
    else
        lblFindResult->clear();
}

void frmModuleList::CopyRows()
{
    QList<int> rows;
    for (const QModelIndex &index : tblModuleList->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty()) {
        for (int k = 0; k < mShown->rowCount(); ++k)
            rows << k;
    }
    QGuiApplication::clipboard()->setText(TabText(*mShown, rows));
}

bool frmModuleList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tblModuleList && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopyRows();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            if (tblModuleList->currentIndex().isValid())
                LocateRow(tblModuleList->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Kept until the program ends: closing only hides it.
void frmModuleList::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (QMdiSubWindow *frame = ChildFrame(this))
        frame->hide();
    else
        hide();
}
