#pragma once
// "Module State": the selected module's ID, version, mode byte, counters and error-relay
// rule, and "&Apply", which sends the module a new rule with S, or W to keep it.
#include <QWidget>

class RingCore;

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class frmModuleState : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 3225;
    static constexpr int kClientHeightTwips = 3060;

    explicit frmModuleState(RingCore &core, QWidget *parent = nullptr);

    void Form_Load();
    void cmdApply_Click();

    QLineEdit *txtModulID;
    QLineEdit *txtVersion;
    QLineEdit *txtMode;
    QComboBox *cmbErrorRelais;
    QLineEdit *txtErrorCounterCH1;
    QLineEdit *txtErrorCounterCH2;
    QCheckBox *chkWriteToEEPROM;
    QPushButton *cmdApply;

signals:
    // A mode byte went out to a module: a verification no longer vouches for it.
    void applied();

private:
    void MarkModulID(const QString &problem);

    RingCore &mCore;

    // Why Apply rejected the text of "Modul ID:"; empty while it holds a module ID or has
    // changed since.
    QString mModulIDProblem;
};
