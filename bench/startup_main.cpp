// Start-up of the program's main window, from process start to its first paint, with the
// configuration file and port of a real run (the port may be missing: that is start-up too).
#include "app/frmMain.h"

#include "FirstPaintQuits.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmMain window;
    FirstPaintQuits quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
