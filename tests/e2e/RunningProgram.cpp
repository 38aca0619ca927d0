#include "RunningProgram.h"

#include "dialogs/MessageBox.h"
#include "model/Global.h"

#include <QFile>

RunningProgram::RunningProgram(const QString &com1Device)
{
    if (!mDir.isValid())
        return;
    mIniPath = mDir.filePath(QStringLiteral("zephlink9-setup.ini"));
    QFile ini(mIniPath);
    if (!ini.open(QIODevice::WriteOnly))
        return;
    QByteArray text = "[ZEPHLINK9 Setup Tool]\r\ncomport= 1\r\nCOM1=" + com1Device.toLocal8Bit() + "\r\n";
    for (int n = 2; n <= 4; ++n)
        text += QStringLiteral("COM%1=%2\r\n").arg(n).arg(mDir.filePath(QStringLiteral("absent%1").arg(n))).toLocal8Bit();
    if (ini.write(text) != text.size())
        return;
    ini.close();

    ResetGlobals();
    SetMessageHook([this](QMessageBox::Icon icon, const QString &title, const QString &message) {
        boxes.append({icon, title, message});
    });
    mMain = std::make_unique<frmMain>(frmMain::Options{nullptr, mIniPath, [] {}});
    mMain->Form_Activate();
}

RunningProgram::~RunningProgram()
{
    if (mMain) {
        mMain->Form_Unload();
        mMain.reset();
    }
    SetMessageHook(nullptr);
}

void RunningProgram::Refresh() { mMain->mnuRefresh_Click(); }

QList<int> RunningProgram::Order()
{
    QList<int> order;
    for (int i = 0; i < gModuleCount; ++i)
        order.append(gModuleOrder[size_t(i)]);
    return order;
}

bool RunningProgram::SawMessage(const QString &text) const
{
    for (const Box &box : boxes) {
        if (box.text == text)
            return true;
    }
    return false;
}
