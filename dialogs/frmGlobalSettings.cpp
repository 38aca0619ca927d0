#include "dialogs/frmGlobalSettings.h"

#include "core/PortStateText.h"
#include "core/RingCore.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/FormLayout.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmProgress.h"
#include "model/Global.h"
#include "model/ModeByte.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

QRadioButton *AddOption(QGroupBox *frame, QButtonGroup *group, const QString &name, const QString &caption)
{
    auto *option = new QRadioButton(caption, frame);
    option->setObjectName(name);
    group->addButton(option);
    frame->layout()->addWidget(option);
    return option;
}

QGroupBox *AddFrame(QWidget *form, const QString &name, const QString &caption)
{
    auto *frame = new QGroupBox(caption, form);
    frame->setObjectName(name);
    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(4, 2, 4, 2);
    return frame;
}

} // namespace

frmGlobalSettings::frmGlobalSettings(RingCore &core, QWidget *parent)
    : QWidget(parent), mCore(core)
{
    setObjectName(QStringLiteral("frmGlobalSettings"));
    setWindowTitle(tr("Global Settings"));
    SetFormBackground(this);

    auto *grid = new QGridLayout(this);
    SetCompactMargins(grid);

    cmbBaudrate = new QComboBox(this);
    cmbBaudrate->setObjectName(QStringLiteral("cmbBaudrate"));
    auto *baudLabel = new QLabel(tr("RS485 Baudrate:"), this);
    baudLabel->setObjectName(QStringLiteral("cmbBaudrateLabel"));
    baudLabel->setBuddy(cmbBaudrate);
    grid->addWidget(baudLabel, 0, 0);
    grid->addWidget(cmbBaudrate, 0, 1);
    LetShrink(cmbBaudrate, 60);

    QGroupBox *parity = AddFrame(this, QStringLiteral("fraParity"), tr("Parity"));
    auto *parityGroup = new QButtonGroup(this);
    optParityNone = AddOption(parity, parityGroup, QStringLiteral("optParityNone"), tr("none"));
    optParityEven = AddOption(parity, parityGroup, QStringLiteral("optParityEven"), tr("even"));
    optParityOdd = AddOption(parity, parityGroup, QStringLiteral("optParityOdd"), tr("odd"));
    grid->addWidget(parity, 1, 0, 1, 2);

    QGroupBox *stopBits = AddFrame(this, QStringLiteral("fraStopBits"), tr("Stopbits:"));
    auto *stopGroup = new QButtonGroup(this);
    optStopBits1 = AddOption(stopBits, stopGroup, QStringLiteral("optStopBits1"), QStringLiteral("1"));
    optStopBits2 = AddOption(stopBits, stopGroup, QStringLiteral("optStopBits2"), QStringLiteral("2"));
    grid->addWidget(stopBits, 2, 0, 1, 2);

    cmbErrorRelais = AddRuleCombo(grid, 3);

    chkWriteToEEPROM = new QCheckBox(tr("Write to E²PROM"), this);
    chkWriteToEEPROM->setObjectName(QStringLiteral("chkWriteToEEPROM"));
    cmdApply = new QPushButton(tr("&Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    AddApplyRow(grid, 5, chkWriteToEEPROM, cmdApply);

    optParityEven->setChecked(true);
    optStopBits1->setChecked(true);
    connect(cmdApply, &QPushButton::clicked, this, &frmGlobalSettings::cmdApply_Click);
    Form_Load();
}

void frmGlobalSettings::Form_Load()
{
    cmbBaudrate->clear();
    cmbBaudrate->addItems(ModeByte::BaudTexts());
    cmbBaudrate->setCurrentIndex(4);
    cmbErrorRelais->clear();
    cmbErrorRelais->addItems(ModeByte::RuleTexts());
    cmbErrorRelais->setCurrentIndex(1);
}

void frmGlobalSettings::ShowMode(uint8_t mode)
{
    (ModeByte::HasTwoStopBits(mode) ? optStopBits2 : optStopBits1)->setChecked(true);
    switch (ModeByte::ParityOf(mode)) {
    case ModeByte::Parity::Odd:
        optParityOdd->setChecked(true);
        break;
    case ModeByte::Parity::Even:
        optParityEven->setChecked(true);
        break;
    case ModeByte::Parity::None:
        optParityNone->setChecked(true);
        break;
    }
    cmbErrorRelais->setCurrentText(ModeByte::RuleText(mode));
    cmbBaudrate->setCurrentText(ModeByte::BaudText(mode));
}

uint8_t frmGlobalSettings::ComposeSettingsByte() const
{
    uint8_t settings = ModeByte::BaudCodeFromText(cmbBaudrate->currentText());
    if (optStopBits2->isChecked())
        settings |= ModeByte::kTwoStopBits;
    settings |= ModeByte::RuleBitsFromText(cmbErrorRelais->currentText());
    if (optParityEven->isChecked())
        settings |= ModeByte::kParityEven;
    else if (optParityOdd->isChecked())
        settings |= ModeByte::kParityOdd;
    return settings;
}

frmProgress *frmGlobalSettings::Progress() const
{
    return mProgress && !mProgress->IsClosed() ? mProgress.data() : nullptr;
}

frmProgress *frmGlobalSettings::LoadProgress()
{
    if (frmProgress *open = Progress()) {
        BringToFront(open);
        return open;
    }
    mProgress = frmProgress::Load(ChildArea(this), mCore.Table().Count());
    return mProgress;
}

void frmGlobalSettings::cmdApply_Click()
{
    // A second click while modules are still being programmed would interleave two runs.
    if (mApplyRunning)
        return;
    mApplyRunning = true;

    const uint8_t settings = ComposeSettingsByte();
    QPointer<frmProgress> progress = LoadProgress();
    progress->ProgressBar->setValue(0);
    progress->SetCaption(chkWriteToEEPROM->isChecked() ? tr("Programming modules...")
                                                       : tr("Update modules..."));

    // The windows may be closed meanwhile: the run goes on, touching only what is still open.
    QPointer<frmGlobalSettings> self(this);
    RingCore &core = mCore;
    auto progressOpen = [&progress] { return progress && !progress->IsClosed(); };
    bool writeToEEPROM = chkWriteToEEPROM->isChecked();
    int sent = 0;
    const RingCore::RingProgramming run = core.ProgramRing(settings, [&](int index, int total) {
        QCoreApplication::processEvents();
        // The attached module comes last and is not counted as sent.
        const int barValue = index + 1 == total ? sent + 1 : ++sent;
        if (progressOpen())
            progress->ProgressBar->setValue(barValue);
        if (self)
            writeToEEPROM = self->chkWriteToEEPROM->isChecked();
        return writeToEEPROM;
    });
    const QString failure = run.failedID < 0 ? QString() : SendFailure(core, run.failedID, run.sent, run.total);

    if (progressOpen())
        progress->cmdOK->setEnabled(true);
    if (self) {
        self->mApplyRunning = false;
        emit self->applied();
    }
    if (!failure.isEmpty())
        ShowMessage(self.data(), QMessageBox::Critical, tr("Global Settings"), failure);
}

QString frmGlobalSettings::SendFailure(const RingCore &core, int id, int done, int total)
{
    const QString where = PortLabel(core.Port());
    return tr("The frame for module %1 could not be sent on %2.\r\n"
                          "%3 of %4 modules were programmed; the others were not sent anything.")
        .arg(id)
        .arg(where)
        .arg(done)
        .arg(total);
}
