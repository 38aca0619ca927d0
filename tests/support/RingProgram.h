#pragma once
// The program on the simulator for end-to-end tests: a configuration file that names the
// simulator's terminal as COM1, message boxes caught, and the ring orders to expect.
#include "BoxCatcher.h"
#include "TestFiles.h"
#include "app/frmMain.h"
#include "model/RingTable.h"

#include <QList>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The program as a technician runs it: its configuration file names a device for COM1, the
// main window opens it through QSerialPort, and each message box is read and answered.
class RunningProgram
{
public:
    // COM2 to COM4 name devices that do not exist. The
    // configuration file's folder holds whatever else the program writes (log, reference).
    explicit RunningProgram(const QString &com1Device, const QByteArray &moreIni = {})
    {
        QByteArray ini = "[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\nCOM1=" + com1Device.toLocal8Bit() + "\r\n" + moreIni;
        for (int n = 2; n <= 4; ++n)
            ini += QStringLiteral("COM%1=%2/absent\r\n").arg(n).arg(mDir.path()).toLocal8Bit();
        WriteTestFile(Path(QStringLiteral("zephlink9-setup.ini")), ini);
        Start();
    }
    ~RunningProgram() { Stop(); }
    // Closed and started again on the same files.
    void Restart()
    {
        Stop();
        Start();
    }
    QString Path(const QString &name) const { return mDir.filePath(name); }
    frmMain &Main() { return *mMain; }

    // "Refresh", then waits until the later passes have brought the whole ring.
    bool Scan(int count, int timeoutMs = 3000)
    {
        mMain->mnuRefresh_Click();
        return QTest::qWaitFor([this, count] { return mMain->Core().Table().Count() == count; }, timeoutMs);
    }

    // "Refresh", then waits until the scan has handed over its ring.
    bool ScanSettled()
    {
        QSignalSpy settled(&mMain->Link(), &BusLink::scanSettled);
        mMain->mnuRefresh_Click();
        return settled.count() == 1 || settled.wait(5000);
    }

    // The texts of the events so far, oldest first.
    QStringList EventTexts()
    {
        QStringList texts;
        const EventList &events = mMain->Core().Events();
        for (size_t k = 0; k < events.Count(); ++k)
            texts << events.At(k).text;
        return texts;
    }

    // The texts of the message boxes so far.
    QStringList Boxes() const
    {
        QStringList texts;
        for (const QString &box : catcher.boxes)
            texts << box.section(QStringLiteral(": "), 1);
        return texts;
    }
    BoxCatcher catcher;

private:
    void Start()
    {
        mMain = std::make_unique<frmMain>(frmMain::Options{nullptr, Path(QStringLiteral("zephlink9-setup.ini")), [] {}});
        mMain->Form_Activate();
        // What the window's first paint does.
        mMain->Core().OpenHistory();
    }
    void Stop()
    {
        mMain->Form_Unload();
        mMain.reset();
    }

    QTemporaryDir mDir;
    std::unique_ptr<frmMain> mMain;
};

// The ring order of the last scan.
QList<int> RingOrder(const RingTable &table)
{
    return QList<int>(table.Order().begin(), table.Order().end());
}

// The side sort of the simulator's default ring (1 attached, even IDs L, odd IDs R): the
// attached module, the L modules in ring order, then the others in reverse order.
QList<int> DefaultRingOrder(int modules)
{
    QList<int> order{1};
    for (int id = 2; id <= modules; id += 2)
        order << id;
    for (int id = modules - (modules % 2 == 0); id > 1; id -= 2)
        order << id;
    return order;
}

} // namespace
