#include "dialogs/MessageBox.h"

namespace {
MessageHook &Hook()
{
    static MessageHook hook;
    return hook;
}
} // namespace

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    if (Hook()) {
        Hook()(icon, title, text);
        return;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
