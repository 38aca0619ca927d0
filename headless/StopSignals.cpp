#include "headless/StopSignals.h"

#include <QPointer>

#ifdef Q_OS_WIN
#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <windows.h>
#else
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
QPointer<StopSignals> gInstance;

void RequestStop()
{
    // From another thread (a console handler) or a signal's write: queued onto the program's thread.
    QMetaObject::invokeMethod(gInstance.data(), &StopSignals::stopRequested, Qt::QueuedConnection);
}
} // namespace

#ifdef Q_OS_WIN

struct StopSignals::Platform : QAbstractNativeEventFilter
{
    static BOOL WINAPI OnConsoleEvent(DWORD event)
    {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
            return FALSE;
        RequestStop();
        // After a console's close the process ends when this returns: give the program its second.
        if (event == CTRL_CLOSE_EVENT)
            Sleep(2000);
        return TRUE;
    }
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->hwnd != nullptr || msg->message != WM_CLOSE)
            return false;
        RequestStop();
        return true;
    }

    Platform()
    {
        SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
        QAbstractEventDispatcher::instance()->installNativeEventFilter(this);
    }
    ~Platform() override
    {
        SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
        if (auto *dispatcher = QAbstractEventDispatcher::instance())
            dispatcher->removeNativeEventFilter(this);
    }
};

#else

struct StopSignals::Platform
{
    static inline int sPipe[2] = {-1, -1};

    static void OnSignal(int)
    {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(sPipe[0], &byte, 1);
    }

    QSocketNotifier *notifier = nullptr;
    struct sigaction oldTerm = {};
    struct sigaction oldInt = {};

    Platform()
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, sPipe) != 0)
            return;
        notifier = new QSocketNotifier(sPipe[1], QSocketNotifier::Read, gInstance.data());
        QObject::connect(notifier, &QSocketNotifier::activated, gInstance.data(), [] {
            char byte;
            [[maybe_unused]] const ssize_t read = ::read(sPipe[1], &byte, 1);
            RequestStop();
        });
        struct sigaction action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, &oldTerm);
        sigaction(SIGINT, &action, &oldInt);
    }
    ~Platform()
    {
        if (sPipe[0] < 0)
            return;
        sigaction(SIGTERM, &oldTerm, nullptr);
        sigaction(SIGINT, &oldInt, nullptr);
        delete notifier;
        ::close(sPipe[0]);
        ::close(sPipe[1]);
        sPipe[0] = sPipe[1] = -1;
    }
};

#endif

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
    gInstance = this;
    mPlatform = std::make_unique<Platform>();
}

StopSignals::~StopSignals()
{
    mPlatform.reset();
    gInstance = nullptr;
}
