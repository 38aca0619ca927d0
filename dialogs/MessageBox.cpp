#include "dialogs/MessageBox.h"

namespace {
// A press that a widget holds with its grab (a module picture taking over a press) would take
// the box's first click.
void ReleaseGrab()
{
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}
} // namespace

bool AskYesNo(QWidget *parent, const QString &title, const QString &text)
{
    ReleaseGrab();
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    ReleaseGrab();
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
