#include "dialogs/frmProgress.h"

#include "dialogs/ChildWindow.h"
#include "dialogs/FormLayout.h"
#include "model/Global.h"
#include "model/Twips.h"

#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmProgress::frmProgress(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress State"));
    SetFormBackground(this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setFixedWidth(TwipsToPixels(3855));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    column->addWidget(ProgressBar, 0, Qt::AlignHCenter);
    column->addWidget(cmdOK, 0, Qt::AlignHCenter);
    connect(cmdOK, &QPushButton::clicked, this, &frmProgress::cmdOK_Click);
    Form_Load();
}

void frmProgress::Form_Load()
{
    cmdOK->setEnabled(false);
    ProgressBar->setMinimum(0);
    if (gModuleCount != 0)
        ProgressBar->setMaximum(gModuleCount);
}

void frmProgress::cmdOK_Click()
{
    if (QMdiSubWindow *frame = ChildFrame(this))
        frame->close();
    else
        close();
}
