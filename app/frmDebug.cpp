#include "app/frmDebug.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmDebug::frmDebug(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDebug"));
    setWindowTitle(tr("Debug"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    lstDebugOutput = new QListWidget(this);
    lstDebugOutput->setObjectName(QStringLiteral("lstDebugOutput"));
    lstDebugOutput->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lstDebugOutput->setAccessibleName(tr("Received bytes"));
    cmdClearDebugOutput = new QPushButton(tr("&Clear debug output list"), this);
    cmdClearDebugOutput->setObjectName(QStringLiteral("cmdClearDebugOutput"));
    column->addWidget(lstDebugOutput);
    column->addWidget(cmdClearDebugOutput);
    connect(cmdClearDebugOutput, &QPushButton::clicked, this, &frmDebug::cmdClearDebugOutput_Click);
}

void frmDebug::AddLine(const QString &line)
{
    lstDebugOutput->addItem(line);
    lstDebugOutput->setCurrentRow(lstDebugOutput->count() - 1);
}

void frmDebug::cmdClearDebugOutput_Click() { lstDebugOutput->clear(); }
