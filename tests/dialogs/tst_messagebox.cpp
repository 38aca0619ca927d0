// A box that comes up while a widget holds the mouse with its grab (a module picture taking
// over a press) takes its first click: one click on OK closes it.
#include "dialogs/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QtTest>

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void okTakesTheFirstClickDespiteAGrab()
    {
        QWidget holder;
        holder.resize(200, 200);
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));
        holder.grabMouse();

        int clicks = 0;
        bool closedByForce = false;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
                return;
            if (clicks == 1) {  // the click went elsewhere
                closedByForce = true;
                box->close();
                return;
            }
            QAbstractButton *ok = box->button(QMessageBox::Ok);
            ++clicks;
            QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, ok->mapTo(box, ok->rect().center()));
        });
        clicker.start(50);
        ShowMessage(&holder, QMessageBox::Critical, QStringLiteral("Error"), QStringLiteral("No Modules found!"));
        clicker.stop();
        QCOMPARE(clicks, 1);
        QVERIFY(!closedByForce);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
