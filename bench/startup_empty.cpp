// The baseline for start-up: an empty Qt Widgets main window, shown until its first paint.
#include <QApplication>
#include <QMainWindow>
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
    QMainWindow window;
    window.resize(1024, 720);
    FirstPaintQuits quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
