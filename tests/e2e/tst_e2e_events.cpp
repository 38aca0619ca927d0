// The reference ring and the events over the ring simulator: a reference saved from a ring of
// 12 modules, the ring changed through the simulator's control lines, the events of the next
// scan, the status bar, and the reference still in force after a restart.
#include "RingSimProcess.h"
#include "app/frmMain.h"
#include "dialogs/MessageBox.h"
#include "model/Global.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class TestE2eEvents : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QStringList boxes;

    std::unique_ptr<frmMain> Start(const QString &device)
    {
        QFile ini(dir.filePath(QStringLiteral("zephlink9-setup.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\nCOM1=" + device.toLocal8Bit() + "\r\nlog=ring-log.csv\r\n");
        ini.close();
        ResetGlobals();
        auto main = std::make_unique<frmMain>(frmMain::Options{nullptr, ini.fileName(), [] {}});
        main->Form_Activate();
        return main;
    }
    // "Refresh", and waits until the scan has handed over its ring.
    static bool Scan(frmMain &main)
    {
        QSignalSpy settled(&main.Link(), &BusLink::scanSettled);
        main.mnuRefresh_Click();
        return settled.count() == 1 || settled.wait(5000);
    }
    static QStringList Texts(frmMain &main)
    {
        QStringList texts;
        EventList &events = main.Monitor().Events();
        for (size_t k = 0; k < events.Count(); ++k)
            texts << events.At(k).text;
        return texts;
    }

private slots:
    void init()
    {
        boxes.clear();
        SetMessageHook([this](QMessageBox::Icon, const QString &, const QString &text) { boxes << text; });
    }
    void cleanup() { SetMessageHook(nullptr); }

    void changedRingAndRestart()
    {
        RingSimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--modules"), QStringLiteral("12")}));
        auto main = Start(sim.devicePath());
        QCOMPARE(main->lblReference->text(), QStringLiteral("No reference ring"));
        QVERIFY(Scan(*main));
        main->mnuSaveReference->trigger();
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 12 of 12 present"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ring-reference.csv"))));

        // One module gone, a firmware changed, two swapped (taken out, put back the other way
        // round), a fault and a rising counter.
        for (const char *line : {"remove 5", "set 7 version=42", "remove 2", "remove 4", "add id=4 side=L",
                                 "add id=2 side=L", "fault 3 1 on", "counter 9 2 40"})
            QVERIFY(sim.control(QString::fromLatin1(line)));
        QVERIFY(Scan(*main));
        const QStringList texts = Texts(*main);
        for (const char *text : {"Module 5 missing", "Module 7 firmware 4.2, reference 4.1", "Module 3 channel 1 faulty",
                                 "Module 9 channel 2 error counter +40"})
            QVERIFY2(texts.contains(QString::fromLatin1(text)), qPrintable(texts.join(QLatin1Char('|'))));
        QCOMPARE(texts.filter(QStringLiteral(" at position ")).size(), 2);
        QCOMPARE(texts.size(), 6);
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 11 of 12 present"));
        QCOMPARE(main->lblNewEvents->text(), QStringLiteral("6 new events"));
        QCOMPARE(main->lblNewEvents->accessibleName(), QString());

        // Shown in the window, newest first; acknowledged, the count goes.
        main->mnuEvents->trigger();
        QVERIFY(main->Events()->tblEvents->model()->rowCount() == 6);
        main->Events()->cmdAcknowledge->click();
        QCOMPARE(main->lblNewEvents->text(), QString());
        // Each event is a row of the ring log too.
        QFile log(dir.filePath(QStringLiteral("ring-log.csv")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains(",\"Module 7 firmware 4.2, reference 4.1\"\r\n"));

        // The same files after a restart: the reference is in force again.
        main->Form_Unload();
        main.reset();
        main = Start(sim.devicePath());
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 12 modules"));
        QVERIFY(Scan(*main));
        QCOMPARE(main->lblReference->text(), QStringLiteral("Reference: 11 of 12 present"));
        QVERIFY(Texts(*main).contains(QStringLiteral("Module 5 missing")));
        QCOMPARE(boxes, QStringList());
        main->Form_Unload();
    }
};

QTEST_MAIN(TestE2eEvents)
#include "tst_e2e_events.moc"
