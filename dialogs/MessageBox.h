#pragma once
// The program's message boxes: one icon, one OK button, a title; and a question with Yes and No.
#include <QMessageBox>

// Shows the box and waits until it is closed.
void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);

// A question with Yes and No over parent, No the default; true for Yes.
bool AskYesNo(QWidget *parent, const QString &title, const QString &text);
