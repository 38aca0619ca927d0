#pragma once
// The frame of the program: menus, the child windows, the serial port and the link to the
// ring, with what happens at load, activation, deactivation and unload.
#include "app/frmDebug.h"
#include "app/frmEvents.h"
#include "app/frmProgrammingRecord.h"
#include "app/frmTrends.h"
#include "core/RingCore.h"
#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmModuleState.h"
#include "dialogs/frmProgramSettings.h"
#include "model/ModuleListModel.h"
#include "ringview/frmBackground.h"
#include "ringview/frmModuleList.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWindow;
class SerialPort;

class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kVersionMajor = 1;
    static constexpr int kVersionMinor = 3;
    static constexpr int kVersionRevision = 1;

    struct Options
    {
        SerialPort *port = nullptr;  // null: a QSerialPort-backed port of our own
        QString iniPath;  // empty: beside the program
        std::function<void()> exitProgram;  // empty: end the process at once
    };

    frmMain();
    explicit frmMain(Options options, QWidget *parent = nullptr);
    ~frmMain() override;

    void Form_Load();
    void Form_Activate();
    void Form_Deactivate();
    void Form_Unload();

    void mnuExit_Click();
    void mnuRefresh_Click();
    void mnuAutorefresh_Click();
    void mnuDebug_Click();
    void mnuSelectComPort_Click();
    void mnuAbout_Click();
    void mnuVerifySettings_Click();
    void mnuSaveReport_Click();
    // What the save dialog's choice leads to: the report of the last scan that found modules.
    void SaveReport(const QString &path);
    void mnuModuleList_Click();
    void mnuSaveReference_Click();
    void mnuEvents_Click();
    void mnuTrends_Click();
    void mnuProgrammingRecord_Click();

    // "1.31": major, a point, then minor and revision run together.
    static QString VersionText();

    // The child windows; each is loaded (created and shown) when it is not.
    frmModuleState *ModuleState();
    frmGlobalSettings *GlobalSettings();
    frmBackground *BusInfo();
    frmDebug *Debug();
    // Shown in front; created at its first use.
    frmModuleList *ModuleList();
    frmProgramSettings *LoadProgramSettings();
    frmEvents *Events();
    frmTrends *Trends();
    frmProgrammingRecord *ProgrammingRecord();

    RingCore &Core() { return mCore; }
    BusLink &Link() { return mCore.Link(); }
    PortWatcher &Watcher() { return mCore.Watcher(); }
    SerialPort &MSComm1() { return mCore.Port(); }

    // What a scan's wait ends in.
    void ShowNoModulesFound();
    void RedrawRing();
    void ShowForeignModuleWarning();
    void EnableApplyButtons();

    QAction *mnuExit = nullptr;
    QAction *mnuRefresh = nullptr;
    QMenu *mnuSettings = nullptr;
    QAction *mnuAutorefresh = nullptr;
    QAction *mnuDebug = nullptr;
    QAction *mnuSelectComPort = nullptr;
    // The ring as a whole: its table, its reference and events, verification and report.
    QMenu *mnuRing = nullptr;
    QAction *mnuVerifySettings = nullptr;
    QAction *mnuSaveReport = nullptr;
    QAction *mnuModuleList = nullptr;
    QAction *mnuSaveReference = nullptr;
    QAction *mnuEvents = nullptr;
    QAction *mnuTrends = nullptr;
    QAction *mnuProgrammingRecord = nullptr;
    QAction *mnuAbout = nullptr;
    QLabel *lblPortState = nullptr;
    QLabel *lblReference = nullptr;
    QLabel *lblNewEvents = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QSize FirstSize() const;
    void CreateActions();
    void LetAreaScroll();
    void CreateMenus();
    void CreateStatusBar();
    void ShowPortState();
    void ConnectCore();
    void ShowRingState();
    void ShowNotice(RingCore::Notice level, const QString &title, const QString &text);
    void CallForAttention();
    QMdiSubWindow *AddChild(QWidget *form, int widthTwips, int heightTwips, bool keepOpen = false);
    void PlaceBusInfo();
    void OnSubWindowActivated(QMdiSubWindow *window);
    void OnPassParsed(bool sorted);
    void OnFocusWindowChanged(QWindow *window);

    RingCore mCore;
    std::function<void()> mExitProgram;
    QString mIniPathOverride;
    QMdiArea *mdiArea = nullptr;
    QPointer<frmModuleState> mModuleState;
    QPointer<frmGlobalSettings> mGlobalSettings;
    QPointer<frmBackground> mBusInfo;
    QPointer<frmDebug> mDebug;
    ModuleListModel mModuleListRows{&mCore.Keeper(), &mCore.Table()};
    TwipsSize mBusInfoSize;
    QPointer<frmModuleList> mModuleList;
    QPointer<frmProgramSettings> mProgramSettings;
    QPointer<frmEvents> mEvents;
    QPointer<frmTrends> mTrends;
    QPointer<frmProgrammingRecord> mProgrammingRecord;
    QPointer<QWindow> mLastFocusWindow;
    bool mFirstActivationDone = false;
    bool mBusInfoActivated = false;
    bool mHistoryAsked = false;
};
