#include "dialogs/MessageBox.h"

namespace {
MessageHook &Hook()
{
    static MessageHook hook;
    return hook;
}
std::function<bool(const QString &)> &QuestionHook()
{
    static std::function<bool(const QString &)> hook;
    return hook;
}
} // namespace

void SetQuestionHook(std::function<bool(const QString &text)> hook) { QuestionHook() = std::move(hook); }

bool AskYesNo(QWidget *parent, const QString &title, const QString &text)
{
    if (QuestionHook())
        return QuestionHook()(text);
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

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
