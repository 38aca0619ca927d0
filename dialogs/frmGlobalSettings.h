#pragma once
// "Global Settings": line settings and error-relay rule for the whole ring, and "&Apply",
// which programs every module of the last scan, the one the PC is attached to last.
#include <QPointer>
#include <QWidget>
#include <cstdint>

class RingCore;

class frmProgress;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

class frmGlobalSettings : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 3180;
    static constexpr int kClientHeightTwips = 3135;

    explicit frmGlobalSettings(RingCore &core, QWidget *parent = nullptr);

    void Form_Load();
    void cmdApply_Click();

    // Shows the line settings and rule of a mode byte (the attached module's, after a scan).
    void ShowMode(uint8_t mode);

    // The settings byte the controls stand for.
    uint8_t ComposeSettingsByte() const;

    // The progress window of the last run while it is open, else null.
    frmProgress *Progress() const;
    bool ApplyRunning() const { return mApplyRunning; }

    QComboBox *cmbBaudrate;
    QRadioButton *optParityNone;
    QRadioButton *optParityEven;
    QRadioButton *optParityOdd;
    QRadioButton *optStopBits1;
    QRadioButton *optStopBits2;
    QComboBox *cmbErrorRelais;
    QCheckBox *chkWriteToEEPROM;
    QPushButton *cmdApply;

signals:
    // Mode bytes went out to modules: a verification no longer vouches for them.
    void applied();

private:
    // What a stopped run tells: the module whose frame failed, the port, how far it came.
    static QString SendFailure(const RingCore &core, int id, int done, int total);
    frmProgress *LoadProgress();

    QPointer<frmProgress> mProgress;
    bool mApplyRunning = false;
    RingCore &mCore;
};
