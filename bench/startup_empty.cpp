// The baseline for start-up: an empty Qt Widgets main window, shown until its first paint.
#include "FirstPaintQuits.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1024, 720);
    FirstPaintQuits quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
