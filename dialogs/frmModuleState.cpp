#include "dialogs/frmModuleState.h"

#include "core/RingCore.h"
#include "dialogs/FormLayout.h"
#include "model/Global.h"
#include "model/ModeByte.h"
#include "model/ModuleIDText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

frmModuleState::frmModuleState(RingCore &core, QWidget *parent)
    : QWidget(parent), mCore(core)
{
    setObjectName(QStringLiteral("frmModuleState"));
    setWindowTitle(tr("Module State"));
    SetFormBackground(this);

    auto *grid = new QGridLayout(this);
    SetCompactMargins(grid);
    txtModulID = AddLabelledLineEdit(grid, 0, QStringLiteral("txtModulID"), tr("Modul ID:"));
    txtVersion = AddLabelledLineEdit(grid, 1, QStringLiteral("txtVersion"), tr("Version:"));
    txtMode = AddLabelledLineEdit(grid, 2, QStringLiteral("txtMode"), tr("Mode:"));
    cmbErrorRelais = AddRuleCombo(grid, 3);
    txtErrorCounterCH1 = AddLabelledLineEdit(grid, 5, QStringLiteral("txtErrorCounterCH1"),
                                             tr("Error Counter CH1:"));
    txtErrorCounterCH2 = AddLabelledLineEdit(grid, 6, QStringLiteral("txtErrorCounterCH2"),
                                             tr("Error Counter CH2:"));
    // The fixed client width goes to the labels first; the text boxes take what is left.
    for (QLineEdit *edit : {txtModulID, txtVersion, txtMode, txtErrorCounterCH1, txtErrorCounterCH2})
        LetShrink(edit, 40);
    chkWriteToEEPROM = new QCheckBox(tr("Write to E²PROM"), this);
    chkWriteToEEPROM->setObjectName(QStringLiteral("chkWriteToEEPROM"));
    cmdApply = new QPushButton(tr("&Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    AddApplyRow(grid, 7, chkWriteToEEPROM, cmdApply);

    connect(cmdApply, &QPushButton::clicked, this, &frmModuleState::cmdApply_Click);
    connect(txtModulID, &QLineEdit::textChanged, this, [this] { MarkModulID(QString()); });
    Form_Load();
}

void frmModuleState::Form_Load()
{
    cmbErrorRelais->clear();
    cmbErrorRelais->addItems(ModeByte::RuleTexts());
    cmbErrorRelais->setCurrentIndex(1);
}

void frmModuleState::MarkModulID(const QString &problem)
{
    if (problem == mModulIDProblem)
        return;
    mModulIDProblem = problem;
    txtModulID->setToolTip(problem);
    QPalette palette = txtModulID->palette();
    palette.setColor(QPalette::Base, problem.isEmpty() ? QPalette().color(QPalette::Base) : QColor(255, 200, 200));
    txtModulID->setPalette(palette);
}

void frmModuleState::cmdApply_Click()
{
    const QString idText = txtModulID->text();
    if (idText.isEmpty())
        return;
    int id = -1;
    const QString problem = ModuleIDProblem(idText, &id);
    if (!problem.isEmpty()) {
        MarkModulID(tr("Not sent. %1").arg(problem));
        return;
    }

    // The table keeps what the module reported; the mode sent is the core's until a reply
    // confirms it.
    const uint8_t mode = uint8_t((mCore.Table().Module(id).GetMode() & ~ModeByte::kRuleMask)
                                 | ModeByte::RuleBitsFromText(cmbErrorRelais->currentText()));
    txtMode->setText(ByteToBin(mode));
    if (!mCore.ProgramModule(id, mode, chkWriteToEEPROM->isChecked()))
        return;
    emit applied();
}
