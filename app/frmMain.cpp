#include "app/frmMain.h"

#include "app/RingReport.h"
#include "app/frmDebug.h"
#include "core/Ini.h"
#include "core/ProgramPaths.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmModuleState.h"
#include "dialogs/frmProgramSettings.h"
#include "model/Clock.h"
#include "model/Twips.h"
#include "ringview/frmBackground.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <cstdlib>

frmMain::frmMain()
    : frmMain(Options{})
{
}

frmMain::frmMain(Options options, QWidget *parent)
    : QMainWindow(parent),
      mCore(options.port),
      mExitProgram(std::move(options.exitProgram)),
      mIniPathOverride(std::move(options.iniPath))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kAppTitle);
    resize(FirstSize());

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::OnSubWindowActivated);
    LetAreaScroll();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmMain::OnFocusWindowChanged);

    CreateActions();
    CreateMenus();
    CreateStatusBar();
    ConnectCore();
    Form_Load();
}

frmMain::~frmMain()
{
    // The window system reports focus and sub-window changes while the widget part of this
    // window is torn down; by then these handlers must no longer run.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(mdiArea, nullptr, this, nullptr);
    if (mProgramSettings)
        disconnect(mProgramSettings, nullptr, this, nullptr);
    disconnect(&mCore, nullptr, this, nullptr);
}

// Child windows that reach past the client area stay reachable through scroll bars.
void frmMain::LetAreaScroll()
{
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QSize frmMain::FirstSize() const
{
    // Within the screen it opens on, with room for the window system's frame.
    const QSize wanted(1024, 720);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    return wanted.boundedTo(screen->availableGeometry().size() - QSize(16, 48)).expandedTo(QSize(320, 240));
}

void frmMain::CreateActions()
{
    auto makeAction = [this](QAction *&action, const char *name, const QString &caption,
                             void (frmMain::*handler)(), bool checkable) {
        action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, [this, action, handler, checkable] {
            // The handlers decide the check mark themselves, from the state before the click.
            if (checkable)
                action->setChecked(!action->isChecked());
            (this->*handler)();
        });
    };
    makeAction(mnuExit, "mnuExit", tr("E&xit"), &frmMain::mnuExit_Click, false);
    makeAction(mnuRefresh, "mnuRefresh", tr("&Refresh"), &frmMain::mnuRefresh_Click, false);
    makeAction(mnuAutorefresh, "mnuAutorefresh", tr("Autorefresh"),
               &frmMain::mnuAutorefresh_Click, true);
    makeAction(mnuDebug, "mnuDebug", tr("Debug"), &frmMain::mnuDebug_Click, true);
    makeAction(mnuSelectComPort, "mnuSelectComPort", tr("Select COM port"),
               &frmMain::mnuSelectComPort_Click, false);
    makeAction(mnuVerifySettings, "mnuVerifySettings", tr("Verify Settings"), &frmMain::mnuVerifySettings_Click, false);
    makeAction(mnuSaveReport, "mnuSaveReport", tr("Save Report..."), &frmMain::mnuSaveReport_Click, false);
    makeAction(mnuModuleList, "mnuModuleList", tr("Module List"), &frmMain::mnuModuleList_Click, false);
    makeAction(mnuSaveReference, "mnuSaveReference", tr("Save as Reference"),
               &frmMain::mnuSaveReference_Click, false);
    makeAction(mnuEvents, "mnuEvents", tr("Events"), &frmMain::mnuEvents_Click, false);
    makeAction(mnuTrends, "mnuTrends", tr("Trends"), &frmMain::mnuTrends_Click, false);
    makeAction(mnuProgrammingRecord, "mnuProgrammingRecord", tr("Programming Record"),
               &frmMain::mnuProgrammingRecord_Click, false);
    makeAction(mnuAbout, "mnuAbout", tr("About"), &frmMain::mnuAbout_Click, false);
    mnuDebug->setVisible(false);
}

void frmMain::CreateMenus()
{
    QMenuBar *bar = menuBar();
    bar->addAction(mnuExit);
    bar->addAction(mnuRefresh);
    mnuSettings = bar->addMenu(tr("&Settings"));
    mnuSettings->setObjectName(QStringLiteral("mnuSettings"));
    mnuSettings->menuAction()->setObjectName(QStringLiteral("mnuSettings"));
    mnuSettings->addAction(mnuAutorefresh);
    mnuSettings->addAction(mnuDebug);
    mnuSettings->addAction(mnuSelectComPort);
    mnuRing = bar->addMenu(tr("&Ring"));
    mnuRing->setObjectName(QStringLiteral("mnuRing"));
    mnuRing->menuAction()->setObjectName(QStringLiteral("mnuRing"));
    // What the ring is, what changed on it, then what is done with it.
    mnuRing->addAction(mnuModuleList);
    mnuRing->addAction(mnuEvents);
    mnuRing->addAction(mnuTrends);
    mnuRing->addAction(mnuProgrammingRecord);
    mnuRing->addSeparator();
    mnuRing->addAction(mnuSaveReference);
    mnuRing->addAction(mnuVerifySettings);
    mnuRing->addAction(mnuSaveReport);
    bar->addAction(mnuAbout);
}

// The core's link, its finished scans and what it has to tell, wired to the windows.
void frmMain::ConnectCore()
{
    BusLink &link = mCore.Link();
    connect(&link, &BusLink::noModulesFound, this, &frmMain::ShowNoModulesFound);
    connect(&link, &BusLink::ringFound, this, &frmMain::RedrawRing);
    connect(&link, &BusLink::foreignModuleFound, this, &frmMain::ShowForeignModuleWarning);
    connect(&link, &BusLink::programmingAllowed, this, &frmMain::EnableApplyButtons);
    connect(&link.Receiver(), &ReplyReceiver::localModeReceived, this,
            [this](quint8 mode) { GlobalSettings()->ShowMode(mode); });
    connect(&link, &BusLink::passParsed, this, &frmMain::OnPassParsed);
    connect(&link, &BusLink::passParsed, &mModuleListRows, &ModuleListModel::Follow);
    connect(&link.Receiver(), &ReplyReceiver::debugLine, this, [this](const QString &line) { Debug()->AddLine(line); });
    connect(&mCore, &RingCore::scanHandedOver, &mModuleListRows, &ModuleListModel::TakeScan);
    connect(&mCore, &RingCore::verified, &mModuleListRows, &ModuleListModel::ShowVerification);
    connect(&mCore, &RingCore::notice, this, &frmMain::ShowNotice);
    connect(&mCore, &RingCore::alarm, this, &frmMain::CallForAttention);
    connect(&mCore, &RingCore::referenceChanged, this, &frmMain::ShowRingState);
}

void frmMain::ShowNotice(RingCore::Notice level, const QString &title, const QString &text)
{
    ShowMessage(this, level == RingCore::Notice::Error ? QMessageBox::Critical : QMessageBox::Information, title, text);
}

void frmMain::CallForAttention()
{
    QApplication::alert(this);
    if (mCore.Config().alarmBeep)
        QApplication::beep();
}

// Their accessible names are their texts, so a screen reader reads what they say.
void frmMain::ShowRingState()
{
    lblReference->setText(mCore.ReferenceText());
    lblNewEvents->setText(mCore.NewEventsText());
}

void frmMain::CreateStatusBar()
{
    lblPortState = new QLabel(this);
    lblPortState->setObjectName(QStringLiteral("lblPortState"));
    // Its accessible name is its text, so a screen reader reads the state itself.
    lblPortState->setAccessibleDescription(tr("Port state"));
    statusBar()->addWidget(lblPortState, 1);
    lblReference = new QLabel(this);
    lblReference->setObjectName(QStringLiteral("lblReference"));
    statusBar()->addWidget(lblReference);
    lblNewEvents = new QLabel(this);
    lblNewEvents->setObjectName(QStringLiteral("lblNewEvents"));
    statusBar()->addWidget(lblNewEvents);
    connect(&mCore, &RingCore::portStateChanged, this, &frmMain::ShowPortState);
    ShowPortState();
}

// Also shown when no port is chosen: then every scan says "No Modules found!", and this says why.
void frmMain::ShowPortState()
{
    lblPortState->setText(mCore.PortStateText());
}

QMdiSubWindow *frmMain::AddChild(QWidget *form, int widthTwips, int heightTwips, bool keepOpen)
{
    QMdiSubWindow *frame = AddChildWindow(mdiArea, form, widthTwips, heightTwips);
    if (keepOpen)
        KeepOpen(frame);
    frame->show();
    return frame;
}

// The settings dialogs come with the first activation, after the first paint (paintEvent),
// their Apply buttons disabled until a scan allows programming; the history comes then too.
void frmMain::Form_Load()
{
    mCore.Start(ProgramConfig::Read(mIniPathOverride.isEmpty() ? ProgramIniPath() : mIniPathOverride),
                RingCore::HistoryOpening::Later);
    Link().Receiver().Reset();
    Link().StopRefresh();
    Link().EnableReception();
}

frmModuleState *frmMain::ModuleState()
{
    if (!mModuleState) {
        mModuleState = new frmModuleState(mCore);
        mModuleState->cmdApply->setEnabled(false);
        connect(mModuleState, &frmModuleState::applied, &mModuleListRows, &ModuleListModel::ShowVerification);
        AddChild(mModuleState, frmModuleState::kClientWidthTwips, frmModuleState::kClientHeightTwips, true);
    }
    return mModuleState;
}

frmGlobalSettings *frmMain::GlobalSettings()
{
    if (!mGlobalSettings) {
        mGlobalSettings = new frmGlobalSettings(mCore);
        mGlobalSettings->cmdApply->setEnabled(false);
        connect(mGlobalSettings, &frmGlobalSettings::applied, &mModuleListRows, &ModuleListModel::ShowVerification);
        AddChild(mGlobalSettings, frmGlobalSettings::kClientWidthTwips,
                 frmGlobalSettings::kClientHeightTwips, true);
    }
    return mGlobalSettings;
}

frmBackground *frmMain::BusInfo()
{
    if (!mBusInfo) {
        mBusInfo = new frmBackground(mCore, mBusInfoSize);
        mBusInfo->SetModuleStateProvider([this] { return ModuleState(); });
        connect(mBusInfo, &frmBackground::locateUnanswered, &mModuleListRows, &ModuleListModel::Follow);
        const int width = std::max(1, TwipsToPixels(mBusInfoSize.width));
        const int height = std::max(1, TwipsToPixels(mBusInfoSize.height));
        QMdiSubWindow *frame = AddChildWindow(mdiArea, mBusInfo, 1, 1, false);
        frame->resize(width, height);
        frame->show();
    }
    return mBusInfo;
}

frmDebug *frmMain::Debug()
{
    if (!mDebug) {
        mDebug = new frmDebug;
        AddChild(mDebug, frmDebug::kClientWidthTwips, frmDebug::kClientHeightTwips);
    }
    if (QMdiSubWindow *frame = ChildFrame(mDebug); frame && !frame->isVisible())
        frame->show();
    return mDebug;
}

frmModuleList *frmMain::ModuleList()
{
    if (!mModuleList) {
        mModuleList = new frmModuleList(&mModuleListRows, BusInfo());
        QMdiSubWindow *frame = AddChildWindow(mdiArea, mModuleList, 1, 1, false);
        // Below Bus Info and the dialogs where there is room, so that it leaves the ring in
        // view; inside the frame window in any case.
        const QSize area = mdiArea->viewport()->size();
        const QSize size = QSize(TwipsToPixels(frmModuleList::kClientWidthTwips),
                                 TwipsToPixels(frmModuleList::kClientHeightTwips)).boundedTo(area);
        int below = 0;
        for (QWidget *form : {static_cast<QWidget *>(BusInfo()), static_cast<QWidget *>(GlobalSettings())}) {
            if (QMdiSubWindow *other = ChildFrame(form))
                below = std::max(below, other->geometry().bottom() + 1);
        }
        frame->setGeometry(QRect(QPoint(0, std::clamp(below, 0, std::max(0, area.height() - size.height()))), size));
    }
    RaiseChild(mModuleList);
    return mModuleList;
}

void frmMain::mnuModuleList_Click() { ModuleList(); }

frmProgramSettings *frmMain::LoadProgramSettings()
{
    // The dialog probes the ports and its OK picks one: a vanished device is not waited for.
    Watcher().Stop();
    if (!mProgramSettings) {
        mProgramSettings = new frmProgramSettings(mCore);
        // Its OK may leave no port chosen without touching the port.
        connect(mProgramSettings, &QObject::destroyed, this, &frmMain::ShowPortState);
        AddChild(mProgramSettings, frmProgramSettings::kClientWidthTwips,
                 frmProgramSettings::kClientHeightTwips);
    } else {
        mProgramSettings->Form_Load();
        RaiseChild(mProgramSettings);
    }
    return mProgramSettings;
}

frmEvents *frmMain::Events()
{
    if (!mEvents) {
        mEvents = new frmEvents(&mCore.Events());
        QMdiSubWindow *frame = AddChildWindow(mdiArea, mEvents, frmEvents::kClientWidthTwips,
                                              frmEvents::kClientHeightTwips, false);
        // Closed, it is only hidden: it lives until the program ends.
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->resize(TwipsToPixels(frmEvents::kClientWidthTwips), TwipsToPixels(frmEvents::kClientHeightTwips));
    }
    RaiseChild(mEvents);
    return mEvents;
}

frmTrends *frmMain::Trends()
{
    if (!mTrends) {
        mTrends = new frmTrends(&mCore);
        QMdiSubWindow *frame = AddChildWindow(mdiArea, mTrends, frmTrends::kClientWidthTwips,
                                              frmTrends::kClientHeightTwips, false);
        // Closed, it is only hidden: it lives until the program ends.
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        // Inside the frame window, at its bottom left, so that it leaves the ring in view.
        const QSize area = mdiArea->viewport()->size();
        const QSize size = QSize(TwipsToPixels(frmTrends::kClientWidthTwips), TwipsToPixels(frmTrends::kClientHeightTwips))
                               .boundedTo(area);
        frame->setGeometry(QRect(QPoint(0, std::max(0, area.height() - size.height())), size));
        // The chosen module is selected where the ring is shown; the Module List frames it in
        // Bus Info itself.
        connect(mTrends, &frmTrends::moduleChosen, this, [this](int id) {
            if (!mModuleList || !mModuleList->SelectModule(id))
                BusInfo()->MarkModule(id);
        });
        connect(&mCore, &RingCore::scanHandedOver, mTrends, [this] {
            if (mTrends->isVisible())
                mTrends->Refresh();
        });
    }
    mTrends->Refresh();
    RaiseChild(mTrends);
    return mTrends;
}

frmProgrammingRecord *frmMain::ProgrammingRecord()
{
    if (!mProgrammingRecord) {
        mProgrammingRecord = new frmProgrammingRecord(&mCore.Programming());
        QMdiSubWindow *frame = AddChildWindow(mdiArea, mProgrammingRecord, frmProgrammingRecord::kClientWidthTwips,
                                              frmProgrammingRecord::kClientHeightTwips, false);
        // Closed, it is only hidden: it lives until the program ends.
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->resize(QSize(TwipsToPixels(frmProgrammingRecord::kClientWidthTwips),
                            TwipsToPixels(frmProgrammingRecord::kClientHeightTwips))
                          .boundedTo(mdiArea->viewport()->size()));
    }
    RaiseChild(mProgrammingRecord);
    return mProgrammingRecord;
}

void frmMain::PlaceBusInfo()
{
    const QSize client = mdiArea->viewport()->size();
    const double clientHeightTwips = double(PixelsToTwips(client.height()));
    const double clientWidthTwips = double(PixelsToTwips(client.width()));
    frmBackground *busInfo = BusInfo();
    QMdiSubWindow *frame = ChildFrame(busInfo);
    if (!frame)
        return;
    frame->hide();
    const double heightTwips = 0.75 * clientHeightTwips;
    const double widthTwips = 0.5 * clientWidthTwips;
    mBusInfoSize.height = int32_t(std::lround(heightTwips));
    mBusInfoSize.width = int32_t(std::lround(widthTwips));
    frame->resize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    frame->move(client.width() - frame->width(), 0);
    busInfo->DrawModules();
    frame->show();
}

void frmMain::Form_Activate()
{
    mFirstActivationDone = true;
    PlaceBusInfo();

    QMdiSubWindow *moduleState = ChildFrame(ModuleState());
    QMdiSubWindow *globalSettings = ChildFrame(GlobalSettings());
    if (moduleState && globalSettings) {
        moduleState->move(0, 0);
        globalSettings->move(0, moduleState->height());
    }

    mCore.ResetMinVersion();

    mCore.Reread();
    mCore.SetDebug(mCore.Config().debug);
    mnuDebug->setChecked(mCore.Debug());
    mnuDebug->setVisible(mCore.Debug());

    if (mCore.Config().HasComPort()) {
        mCore.OpenConfiguredPort();
        Link().EnableReception();
    } else {
        LoadProgramSettings();
    }
}

void frmMain::Form_Deactivate() { Link().Hold(); }

void frmMain::Form_Unload()
{
    Watcher().Stop();
    Link().StopAll();
    MSComm1().Close();
}

// The first activation (Bus Info, the settings dialogs, the port or the COM port dialog) and
// the history come once the frame is there to see: none of them is part of its first paint.
void frmMain::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (!mFirstActivationDone) {
        mFirstActivationDone = true;
        QTimer::singleShot(0, this, &frmMain::Form_Activate);
    }
    if (!mHistoryAsked) {
        mHistoryAsked = true;
        QTimer::singleShot(0, &mCore, &RingCore::OpenHistory);
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace {
// Menus, drop-down lists, tooltips and the child windows' system menus belong to the window
// the user is working in; opening or closing one is no switch of windows.
bool IsPopup(const QWindow *window)
{
    const Qt::WindowType type = window->type();
    return type == Qt::Popup || type == Qt::ToolTip;
}
} // namespace

void frmMain::OnFocusWindowChanged(QWindow *window)
{
    // Only switches between the program's own top-level windows count; another program,
    // popups, and the program's message boxes are neither activation nor deactivation.
    if (!window || IsPopup(window))
        return;
    const QWidget *widget = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() == window) {
            widget = top;
            break;
        }
    }
    if (qobject_cast<const QMessageBox *>(widget) || qobject_cast<const QFileDialog *>(widget))
        return;
    QWindow *mine = windowHandle();
    if (window == mine && mLastFocusWindow && mLastFocusWindow != mine)
        Form_Activate();
    else if (window != mine && mLastFocusWindow == mine)
        Form_Deactivate();
    mLastFocusWindow = window;
}

void frmMain::OnPassParsed(bool sorted)
{
    // A scan draws the ring itself once its wait is over.
    if (mBusInfo && !Link().ScanWaiting())
        mBusInfo->RedrawIfOrderChanged(sorted);
}

void frmMain::OnSubWindowActivated(QMdiSubWindow *window)
{
    if (window && mBusInfo && window->widget() == mBusInfo) {
        mBusInfoActivated = true;
        mBusInfo->Form_Activate();
    }
}

void frmMain::mnuExit_Click()
{
    Link().StopAll();
    if (mExitProgram)
        mExitProgram();
    else
        std::_Exit(0);
}

void frmMain::mnuRefresh_Click() { Link().Scan(); }

void frmMain::mnuAutorefresh_Click()
{
    if (mnuAutorefresh->isChecked()) {
        mnuAutorefresh->setChecked(false);
        mnuRefresh->setEnabled(true);
        mCore.SetAutoRefresh(false);
        if (mCore.Table().Count() > 0) {
            ModuleState()->cmdApply->setEnabled(true);
            GlobalSettings()->cmdApply->setEnabled(true);
        }
    } else {
        mnuAutorefresh->setChecked(true);
        mnuRefresh->setEnabled(false);
        ModuleState()->cmdApply->setEnabled(false);
        GlobalSettings()->cmdApply->setEnabled(false);
        mCore.SetAutoRefresh(true);
    }
}

void frmMain::mnuDebug_Click()
{
    if (mnuDebug->isChecked()) {
        mnuDebug->setChecked(false);
        mCore.SetDebug(false);
    } else {
        mnuDebug->setChecked(true);
        mCore.SetDebug(true);
        Debug();
    }
}

void frmMain::mnuSelectComPort_Click()
{
    Link().Hold();
    LoadProgramSettings();
}

QString frmMain::VersionText()
{
    return QStringLiteral("%1.%2%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

void frmMain::mnuAbout_Click()
{
    Link().Hold();
    const QString text = kAppTitle + QStringLiteral(" ") + VersionText() + QStringLiteral("\r\n")
        + tr("Sets up and watches ZEPHLINK9 fibre-optic rings.");
    ShowMessage(this, QMessageBox::Information, tr("About"), text);
    // Reception stopped with the box; without a restart every later scan would fail until
    // the COM port dialog's OK.
    Link().Resume();
}

void frmMain::mnuVerifySettings_Click() { mCore.Verify(); }

void frmMain::mnuSaveReport_Click()
{
    if (!mCore.Keeper().LastFound()) {
        ShowMessage(this, QMessageBox::Critical, tr("Save Report"),
                    tr("No modules: Refresh scans the ring first."));
        return;
    }
    // Not modal and not the system's dialog: the ring is still received and refreshed while
    // the technician picks a name.
    auto *dialog = new QFileDialog(this, tr("Save Report"),
                                   QDir::home().filePath(ProposedReportName(QDateTime::currentDateTime())));
    dialog->setObjectName(QStringLiteral("dlgSaveReport"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters({tr("PDF report (*.pdf)"), tr("Module table (*.csv)")});
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString &filter) {
        const QString suffix = filter.contains(QStringLiteral("*.csv")) ? QStringLiteral("csv") : QStringLiteral("pdf");
        dialog->setDefaultSuffix(suffix);
        const QStringList chosen = dialog->selectedFiles();
        if (!chosen.isEmpty())
            dialog->selectFile(QFileInfo(chosen.first()).completeBaseName() + QLatin1Char('.') + suffix);
    });
    connect(dialog, &QFileDialog::fileSelected, this, &frmMain::SaveReport);
    dialog->open();
}

void frmMain::SaveReport(const QString &path)
{
    const RingScan *found = mCore.Keeper().LastFound();
    if (!found)
        return;
    RingReport report;
    report.time = ClockNow();
    report.programVersion = VersionText();
    report.scan = *found;
    report.verification = mCore.Keeper().LastVerification();
    report.applied = mCore.Table().Applied();
    report.referenceDifferences = mCore.ReferenceDifferences();
    RingHistory &history = mCore.History();
    const int64_t now = TheClock().EpochMs();
    const int64_t dayMs = 86400000;
    report.historyKept = history.IsOpen();
    report.largestIncrease = history.WorstChannels(found->portNumber, now - dayMs, now + 1, 10);
    report.answered = history.AnswerShares(found->portNumber, now - dayMs, now + 1);
    report.programmings = mCore.Programming().Records(now - RingReport::kProgrammingDays * dayMs);
    report.programmingsLasting = mCore.Programming().Lasting();
    const QString problem = SaveRingReport(report, path);
    if (!problem.isEmpty())
        ShowMessage(this, QMessageBox::Critical, tr("Save Report"), problem);
}

void frmMain::mnuSaveReference_Click()
{
    // The ring shown when the question is asked is the one saved, whatever scans come meanwhile.
    const RingScan *found = mCore.Keeper().LastFound();
    const RingScan shown = found ? *found : RingScan{};
    const QString question = mCore.SaveReferenceQuestion(shown);
    if (!question.isEmpty() && !AskYesNo(this, kAppTitle, question))
        return;
    mCore.SaveReference(shown);
}

void frmMain::mnuEvents_Click() { Events(); }

void frmMain::mnuTrends_Click() { Trends(); }

void frmMain::mnuProgrammingRecord_Click() { ProgrammingRecord(); }

void frmMain::ShowNoModulesFound()
{
    ShowMessage(this, QMessageBox::Critical, tr("Error"), tr("No Modules found!"));
}

void frmMain::RedrawRing()
{
    frmBackground *busInfo = BusInfo();
    QMdiSubWindow *frame = ChildFrame(busInfo);
    if (!frame)
        return;
    mBusInfoActivated = false;
    frame->hide();
    frame->show();
    mdiArea->setActiveSubWindow(frame);
    // Showing it activates it; where the area did not report that (it was active already,
    // or the main window is not), the activation runs here.
    if (!mBusInfoActivated && mBusInfo)
        mBusInfo->Form_Activate();
}

void frmMain::ShowForeignModuleWarning()
{
    ShowMessage(this, QMessageBox::Critical, tr("Warning!"),
                tr("LWL-System contains a none-ZEPHLINK9 module!\r\n"
                               "Please remove those modules and try again!"));
}

void frmMain::EnableApplyButtons()
{
    GlobalSettings()->cmdApply->setEnabled(true);
    ModuleState()->cmdApply->setEnabled(true);
}
