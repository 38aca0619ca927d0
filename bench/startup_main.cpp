// Start-up of the program's main window, from process start to its first paint, with the
// configuration file and port of a real run (the port may be missing: that is start-up too).
#include "app/frmMain.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTimer>

namespace {
class FirstPaintQuits : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmMain window;
    FirstPaintQuits quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
