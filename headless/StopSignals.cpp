#include "headless/StopSignals.h"

#include <QPointer>

#ifdef Q_OS_WIN
#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <windows.h>
#else
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
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

// The console's handler needs the program's thread, and is set with the first StopSignals.
void StopSignals::CatchEarly() {}

#else

// The handlers stay for the whole run: a byte per signal waits in the socket pair until a
// StopSignals reads it.
namespace {
int gPipe[2] = {-1, -1};
constexpr char kStop = 'T';
constexpr char kReread = 'H';

void OnSignal(int number)
{
    const char byte = number == SIGHUP ? kReread : kStop;
    [[maybe_unused]] const ssize_t written = ::write(gPipe[0], &byte, 1);
}
} // namespace

struct StopSignals::Platform
{
    QSocketNotifier *notifier = nullptr;

    Platform()
    {
        CatchEarly();
        if (gPipe[1] < 0)
            return;
        notifier = new QSocketNotifier(gPipe[1], QSocketNotifier::Read, gInstance.data());
        QObject::connect(notifier, &QSocketNotifier::activated, gInstance.data(), [] {
            char bytes[16];
            const ssize_t count = ::read(gPipe[1], bytes, sizeof bytes);
            for (ssize_t k = 0; k < count; ++k) {
                if (bytes[k] == kReread)
                    QMetaObject::invokeMethod(gInstance.data(), &StopSignals::rereadRequested, Qt::QueuedConnection);
                else
                    RequestStop();
            }
        });
    }
    ~Platform() { delete notifier; }
};

void StopSignals::CatchEarly()
{
    if (gPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, gPipe) != 0)
        return;
    // A signal's write never blocks, however many come unread.
    for (const int end : gPipe)
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t caught;
    sigemptyset(&caught);
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(number, &action, nullptr);
        sigaddset(&caught, number);
    }
    // Blocked by whoever started the program, they would wait for ever; one that came before this
    // is taken now.
    sigprocmask(SIG_UNBLOCK, &caught, nullptr);
}

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
