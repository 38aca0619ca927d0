#pragma once
// The program's real message boxes in tests: each box that opens is read, then answered by a
// click from inside its own event loop, as a user would close it.
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class BoxCatcher : public QObject
{
public:
    BoxCatcher() { qApp->installEventFilter(this); }
    ~BoxCatcher() override { qApp->removeEventFilter(this); }

    QStringList boxes;  // "icon title: text" of each box, in turn
    // Runs inside each box's event loop before the box is answered.
    std::function<void()> whileOpen;
    // The button a question is answered with; a box with OK alone gets OK.
    QMessageBox::StandardButton answer = QMessageBox::Yes;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *box = event->type() == QEvent::Show ? qobject_cast<QMessageBox *>(object) : nullptr;
        if (!box)
            return false;
        boxes << QStringLiteral("%1 %2: %3").arg(int(box->icon())).arg(box->windowTitle(), box->text());
        QTimer::singleShot(0, box, [this, box = QPointer<QMessageBox>(box)] {
            if (whileOpen)
                whileOpen();
            if (!box)
                return;
            QAbstractButton *button = box->button(answer) ? box->button(answer) : box->button(QMessageBox::Ok);
            if (button)
                button->click();
        });
        return false;
    }
};
