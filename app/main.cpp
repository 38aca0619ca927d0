#include "app/frmMain.h"
#include "headless/CommandLine.h"
#include "headless/RunWithoutWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("zephlink9-setup"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.3.1"));
    if (CommandLine::WantsNoWindow(argc, argv))
        return RunWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    frmMain window;
    window.show();
    return app.exec();
}
