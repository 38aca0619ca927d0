#pragma once
// The program's message boxes: one icon, one OK button, a title. Tests catch them with a hook.
#include <QMessageBox>
#include <functional>

using MessageHook = std::function<void(QMessageBox::Icon icon, const QString &title, const QString &text)>;

// Shows the box and waits until it is closed, or hands it to the hook when one is set.
void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);

// Null removes the hook.
void SetMessageHook(MessageHook hook);

// A question with Yes and No over parent; true for Yes. A question hook answers in its place.
bool AskYesNo(QWidget *parent, const QString &title, const QString &text);
void SetQuestionHook(std::function<bool(const QString &text)> hook);
