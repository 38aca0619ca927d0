#pragma once
// Child windows of the main window: a QMdiSubWindow around a form, with a title and a
// close button, no minimise or maximise, and a client area sized in twips.
class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Wraps form in a sub-window of area (the form is deleted with it when it closes).
// A fixed tool window keeps its client size; otherwise the user may resize it.
QMdiSubWindow *AddChildWindow(QMdiArea *area, QWidget *form, int clientWidthTwips,
                              int clientHeightTwips, bool fixedSize = true);

// The sub-window that holds form, or null.
QMdiSubWindow *ChildFrame(const QWidget *form);

// The MDI area of the main window that form lives in, or null.
QMdiArea *ChildArea(const QWidget *form);

// For the windows the program keeps open until it ends: no close button or system menu, and
// a close that the user asks for otherwise (Ctrl+F4) is refused. Call before the frame is shown.
void KeepOpen(QMdiSubWindow *frame);

// Shows the window that holds form, already open or not, in front of the other children.
void BringToFront(QWidget *form);
// The same, and makes it the active child, where the keyboard goes.
void RaiseChild(QWidget *form);
