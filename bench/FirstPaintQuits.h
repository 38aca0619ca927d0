#pragma once
// Ends the application right after the watched window's first paint: start-up measured
// from process start to a painted window.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

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
