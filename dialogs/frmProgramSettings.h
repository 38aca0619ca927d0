#pragma once
// "Program settings": probes COM1 to COM4, offers the ports that open, and OK opens the
// chosen one, restarts reception and stores the choice as "comport".
#include <QWidget>

class RingCore;
class QButtonGroup;
class QPushButton;
class QRadioButton;

class frmProgramSettings : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 2655;
    static constexpr int kClientHeightTwips = 2265;

    explicit frmProgramSettings(RingCore &core, QWidget *parent = nullptr);

    void Form_Load();
    void cmdOK_Click();

    QRadioButton *optCom[5] = {};  // 1 to 4
    QPushButton *cmdOK;

private:
    void ProbeComPort(int n, bool &available);

    RingCore &mCore;
    QButtonGroup *mOptions;
};
