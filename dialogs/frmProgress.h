#pragma once
// "Progress State": counts the modules that "Global Settings" has programmed.
#include <QWidget>

class QProgressBar;
class QPushButton;

class frmProgress : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 4065;
    static constexpr int kClientHeightTwips = 1110;

    explicit frmProgress(QWidget *parent = nullptr);

    // Disables OK and sets the bar's range from the last scan; placing the window is the
    // caller's, who knows the main window.
    void Form_Load();
    void cmdOK_Click();

    QProgressBar *ProgressBar;
    QPushButton *cmdOK;
};
