#include "app/frmEvents.h"

#include "app/EventTableModel.h"
#include "model/EventList.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmEvents::frmEvents(EventList *events, QWidget *parent)
    : QWidget(parent),
      mEvents(events)
{
    setObjectName(QStringLiteral("frmEvents"));
    setWindowTitle(tr("Events"));
    tblEvents = new QTableView(this);
    tblEvents->setObjectName(QStringLiteral("tblEvents"));
    tblEvents->setAccessibleName(tr("Events"));
    tblEvents->setModel(new EventTableModel(events, tblEvents));
    tblEvents->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblEvents->verticalHeader()->hide();
    tblEvents->setWordWrap(false);
    tblEvents->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < 3; ++column)
        tblEvents->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    cmdAcknowledge = new QPushButton(tr("Acknowledge"), this);
    cmdAcknowledge->setObjectName(QStringLiteral("cmdAcknowledge"));
    connect(cmdAcknowledge, &QPushButton::clicked, this, &frmEvents::cmdAcknowledge_Click);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tblEvents);
    layout->addWidget(cmdAcknowledge, 0, Qt::AlignRight);
}

void frmEvents::cmdAcknowledge_Click() { mEvents->AcknowledgeAll(); }
