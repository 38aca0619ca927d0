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
    // A press that a widget holds with its grab (a module picture taking over a press) would
    // take the box's first click.
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
