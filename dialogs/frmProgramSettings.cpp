#include "dialogs/frmProgramSettings.h"

#include "core/Ini.h"
#include "core/RingCore.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/FormLayout.h"
#include "dialogs/MessageBox.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmProgramSettings::frmProgramSettings(RingCore &core, QWidget *parent)
    : QWidget(parent), mCore(core)
{
    setObjectName(QStringLiteral("frmProgramSettings"));
    setWindowTitle(tr("Program settings"));
    SetFormBackground(this);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    auto *frame = new QGroupBox(tr("Select COM port"), this);
    frame->setObjectName(QStringLiteral("fraSelectComPort"));
    auto *options = new QVBoxLayout(frame);
    options->setContentsMargins(6, 2, 6, 2);
    mOptions = new QButtonGroup(this);
    for (int n = SerialPort::kFirstPort; n <= SerialPort::kLastPort; ++n) {
        auto *option = new QRadioButton(QStringLiteral("COM%1").arg(n), frame);
        option->setObjectName(QStringLiteral("optCom%1").arg(n));
        mOptions->addButton(option);
        options->addWidget(option);
        optCom[n] = option;
    }
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    column->addWidget(frame);
    column->addWidget(cmdOK, 0, Qt::AlignHCenter);
    connect(cmdOK, &QPushButton::clicked, this, &frmProgramSettings::cmdOK_Click);
    Form_Load();
}

void frmProgramSettings::Form_Load()
{
    SerialPort &port = mCore.Port();
    if (mCore.Config().HasComPort())
        port.Close();
    mCore.Reread();
    // No choice is offered in advance, not even one made before in this window.
    mOptions->setExclusive(false);
    for (int n = 1; n <= 4; ++n)
        optCom[n]->setChecked(false);
    mOptions->setExclusive(true);
    for (int n = 1; n <= 4; ++n) {
        optCom[n]->setEnabled(false);
        // Probed afresh: a mark from an earlier probe of this window does not stay.
        optCom[n]->setText(QStringLiteral("COM%1").arg(n));
        optCom[n]->setToolTip(port.DeviceName(n));
    }
    const int chosen = port.PortNumber();
    for (int n = 1; n <= 4; ++n) {
        bool available = false;
        ProbeComPort(n, available);
        if (available)
            optCom[n]->setEnabled(true);
    }
    // The probes leave the port closed at the chosen number, as the main window tells it,
    // whatever the last probe found.
    port.SetPortNumber(chosen);
    port.Close();
}

void frmProgramSettings::ProbeComPort(int n, bool &available)
{
    available = false;
    SerialPort &port = mCore.Port();
    port.SetPortNumber(n);
    const SerialPort::OpenError error = port.Open();
    if (port.IsOpen()) {
        port.Close();
        available = true;
        return;
    }
    if (error == SerialPort::OpenError::InUse)
        optCom[n]->setText(tr("COM%1 (in use)").arg(n));
    else if (error == SerialPort::OpenError::NotFound)
        optCom[n]->setText(tr("COM%1 (not found)").arg(n));
}

void frmProgramSettings::cmdOK_Click()
{
    int chosen = 0;
    for (int n = 1; n <= 4; ++n) {
        if (optCom[n]->isChecked())
            chosen = n;
    }
    if (chosen == 0)
        ShowMessage(this, QMessageBox::Critical, kAppTitle, tr("No com port available!"));
    mCore.ChoosePort(chosen);
    mCore.Link().Resume();
    if (QMdiSubWindow *frame = ChildFrame(this))
        frame->close();
    else
        close();
}
