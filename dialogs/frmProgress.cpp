#include "dialogs/frmProgress.h"

#include "dialogs/ChildWindow.h"
#include "dialogs/FormLayout.h"
#include "model/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmProgress::frmProgress(int modules, QWidget *parent)
    : QWidget(parent), mModules(modules)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Progress State"));
    SetFormBackground(this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setFixedWidth(TwipsToPixels(3855));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setFormat(tr("%v of %m"));
    cmdOK = new QPushButton(tr("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    column->addWidget(ProgressBar, 0, Qt::AlignHCenter);
    column->addWidget(cmdOK, 0, Qt::AlignHCenter);
    connect(cmdOK, &QPushButton::clicked, this, &frmProgress::cmdOK_Click);
}

frmProgress *frmProgress::Load(QMdiArea *area, int modules)
{
    auto *form = new frmProgress(modules);
    if (area)
        AddChildWindow(area, form, kClientWidthTwips, kClientHeightTwips);
    else
        form->setAttribute(Qt::WA_DeleteOnClose);
    form->Form_Load();
    if (QMdiSubWindow *frame = ChildFrame(form))
        frame->show();
    else
        form->show();
    return form;
}

void frmProgress::Form_Load()
{
    cmdOK->setEnabled(false);
    QWidget *frame = ChildFrame(this);
    if (frame) {
        const QWidget *main = window();
        frame->move(main->width() / 3, main->height() / 4);
    }
    ProgressBar->setMinimum(0);
    if (mModules != 0)
        ProgressBar->setMaximum(mModules);
}

void frmProgress::closeEvent(QCloseEvent *event)
{
    mClosed = true;
    QWidget::closeEvent(event);
}

void frmProgress::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
    if (QMdiSubWindow *frame = ChildFrame(this))
        frame->setWindowTitle(caption);
}

void frmProgress::cmdOK_Click()
{
    if (QMdiSubWindow *frame = ChildFrame(this))
        frame->close();
    else
        close();
}
