#include "dialogs/ChildWindow.h"

#include "model/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
    if (fixedSize)
        frame->setFixedSize(frame->sizeHint());
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
