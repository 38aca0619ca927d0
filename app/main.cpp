#include "app/Translations.h"
#include "app/frmMain.h"
#include "core/ProgramConfig.h"
#include "core/ProgramPaths.h"
#include "core/UiLanguage.h"
#include "headless/CommandLine.h"
#include "headless/RunWithoutWindow.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("zephlink9-setup"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.3.1"));
    if (CommandLine::WantsNoWindow(argc, argv))
        return RunWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    InstallTranslations(ChooseUiLanguage(ProgramConfig::Read(ProgramIniPath()).language,
                                         QLocale::system().uiLanguages()));
    frmMain window;
    window.show();
    return app.exec();
}
