#include "dialogs/ChildWindow.h"

#include "model/Twips.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
class CloseRefuser : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

QMdiSubWindow *AddChildWindow(QMdiArea *area, QWidget *form, int clientWidthTwips,
                              int clientHeightTwips, bool fixedSize)
{
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    form->resize(TwipsToPixels(clientWidthTwips), TwipsToPixels(clientHeightTwips));
    if (fixedSize)
        form->setFixedSize(form->size());
    QMdiSubWindow *frame = area->addSubWindow(form, flags);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(form->windowTitle());
    frame->setObjectName(form->objectName() + QStringLiteral("Frame"));
    frame->adjustSize();
    // The frame's size hint follows what the form's controls would like; a fixed window's
    // frame fits the form's own fixed size instead, with no empty band inside.
    if (fixedSize)
        frame->setFixedSize(frame->minimumSizeHint());
    return frame;
}

QMdiSubWindow *ChildFrame(const QWidget *form)
{
    return form ? qobject_cast<QMdiSubWindow *>(form->parentWidget()) : nullptr;
}

QMdiArea *ChildArea(const QWidget *form)
{
    QMdiSubWindow *frame = ChildFrame(form);
    return frame ? frame->mdiArea() : nullptr;
}

void KeepOpen(QMdiSubWindow *frame)
{
    // A sub-window draws its close button whenever it has a system menu.
    frame->setWindowFlags(frame->windowFlags() & ~(Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    frame->installEventFilter(new CloseRefuser(frame));
}

void BringToFront(QWidget *form)
{
    QMdiSubWindow *frame = ChildFrame(form);
    QWidget *window = frame ? static_cast<QWidget *>(frame) : form;
    window->show();
    window->raise();
}

void RaiseChild(QWidget *form)
{
    BringToFront(form);
    QMdiSubWindow *frame = ChildFrame(form);
    if (QMdiArea *area = ChildArea(form); frame && area)
        area->setActiveSubWindow(frame);
}
