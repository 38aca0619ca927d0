#include "app/Translations.h"
#include "app/frmMain.h"
#include "core/ProgramConfig.h"
#include "core/ProgramPaths.h"
#include "core/UiLanguage.h"
#include "headless/RunWithoutWindow.h"
#include "headless/StopSignals.h"

#include <QApplication>
#include <QLocale>

#ifdef __linux__
namespace {
// Before the libraries' own start-up, which takes tens of milliseconds: a service manager's
// SIGTERM may come at once.
void CatchSignalsFirst(int argc, char **, char **)
{
    if (argc > 1)
        StopSignals::CatchEarly();
}
[[gnu::used, gnu::section(".preinit_array")]] void (*const kCatchSignalsFirst)(int, char **, char **) = CatchSignalsFirst;
} // namespace
#endif

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("zephlink9-setup"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.3.1"));
    // Any argument asks for a run without a window, or is refused there: none reaches the window
    // or needs a display.
    if (argc > 1)
        return RunWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    InstallTranslations(ChooseUiLanguage(ProgramConfig::Read(ProgramIniPath()).language,
                                         QLocale::system().uiLanguages()));
    frmMain window;
    window.show();
    return app.exec();
}
