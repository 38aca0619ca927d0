#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zephlink9-setup"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.3.1"));
    frmMain window;
    window.show();
    return app.exec();
}
