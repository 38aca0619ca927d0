#pragma once
// The program as a technician runs it: its configuration file names a device for COM1, the
// main window opens it through QSerialPort, and message boxes are caught instead of shown.
#include "app/frmMain.h"

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class RunningProgram
{
public:
    struct Box
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };

    // Starts from fresh shared state; COM2 to COM4 name devices that do not exist.
    explicit RunningProgram(const QString &com1Device);
    ~RunningProgram();
    RunningProgram(const RunningProgram &) = delete;
    RunningProgram &operator=(const RunningProgram &) = delete;

    bool IsReady() const { return mMain != nullptr; }
    frmMain &Main() { return *mMain; }
    QString IniPath() const { return mIniPath; }

    // "Refresh": returns when the scan's wait has ended (the first counted module, or a second).
    void Refresh();
    // Positions 0 .. gModuleCount - 1 of the ring order.
    static QList<int> Order();
    bool SawMessage(const QString &text) const;

    QList<Box> boxes;

private:
    QTemporaryDir mDir;
    QString mIniPath;
    std::unique_ptr<frmMain> mMain;
};
