#include "app/frmProgrammingRecord.h"

#include "app/ProgrammingRecordModel.h"
#include "core/ProgrammingLog.h"
#include "model/ModuleIDText.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

frmProgrammingRecord::frmProgrammingRecord(ProgrammingLog *log, QWidget *parent)
    : QWidget(parent),
      mLog(log),
      mModel(new ProgrammingRecordModel(log, this))
{
    setObjectName(QStringLiteral("frmProgrammingRecord"));
    setWindowTitle(tr("Programming Record"));

    txtModulID = new QLineEdit(this);
    txtModulID->setObjectName(QStringLiteral("txtModulID"));
    auto *label = new QLabel(tr("Module &ID:"), this);
    label->setObjectName(QStringLiteral("lblModulID"));
    label->setBuddy(txtModulID);

    tvwRecords = new QTreeView(this);
    tvwRecords->setObjectName(QStringLiteral("tvwRecords"));
    tvwRecords->setAccessibleName(tr("Programming Record"));
    tvwRecords->setModel(mModel);
    tvwRecords->setUniformRowHeights(true);
    tvwRecords->header()->setStretchLastSection(true);
    // Each column as wide as what it shows, the time and the result whole; the user may narrow it.
    const auto fitColumns = [this] {
        for (int column = 0; column < mModel->columnCount(); ++column)
            tvwRecords->resizeColumnToContents(column);
    };
    connect(mModel, &QAbstractItemModel::modelReset, this, fitColumns);
    connect(mModel, &QAbstractItemModel::rowsInserted, this, fitColumns);
    connect(tvwRecords, &QTreeView::expanded, this, fitColumns);
    fitColumns();

    lblLasting = new QLabel(this);
    lblLasting->setObjectName(QStringLiteral("lblLasting"));
    lblLasting->setWordWrap(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(txtModulID, 0, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(tvwRecords, 1, 0, 1, 3);
    grid->addWidget(lblLasting, 2, 0, 1, 3);

    connect(txtModulID, &QLineEdit::textChanged, this, &frmProgrammingRecord::txtModulID_Change);
    connect(mLog, &ProgrammingLog::changed, this, &frmProgrammingRecord::ShowLasting);
    ShowLasting();
}

void frmProgrammingRecord::txtModulID_Change()
{
    const QString text = txtModulID->text().trimmed();
    int id = -1;
    const QString problem = text.isEmpty() ? QString() : ModuleIDProblem(text, &id);
    txtModulID->setToolTip(problem);
    mModel->SetModuleFilter(problem.isEmpty() ? id : -1);
}

void frmProgrammingRecord::ShowLasting()
{
    lblLasting->setText(mLog->Lasting() ? QString()
                                        : tr("No ring history is kept (the configuration's key \"history\"): "
                                             "this record lasts until the program ends."));
    lblLasting->setVisible(!mLog->Lasting());
}
