#pragma once
// "Progress State": counts the modules that "Global Settings" has programmed.
#include <QWidget>

class QMdiArea;
class QProgressBar;
class QPushButton;

class frmProgress : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 4065;
    static constexpr int kClientHeightTwips = 1110;

    // modules: how many the run programs.
    explicit frmProgress(int modules, QWidget *parent = nullptr);

    // Creates the window in area (on its own when area is null), runs its load step and
    // shows it.
    static frmProgress *Load(QMdiArea *area, int modules);

    // Disables OK, places the window by the main window's size and sets the bar's range
    // from the modules the run programs.
    void Form_Load();
    void cmdOK_Click();

    // Closed by OK or its close button; it only waits for its deletion then.
    bool IsClosed() const { return mClosed; }
    void SetCaption(const QString &caption);

    QProgressBar *ProgressBar;
    QPushButton *cmdOK;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int mModules;
    bool mClosed = false;
};
