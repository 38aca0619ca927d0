#include "ringview/ModulePicture.h"

#include "model/RingTable.h"
#include "model/ModuleDescription.h"
#include "ringview/ModuleImages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ModulePicture::ModulePicture(int index, const RingTable &table, QWidget *parent)
    : QWidget(parent), mIndex(index), mTable(table)
{
    setObjectName(QStringLiteral("picModule%1").arg(index));
    setFixedSize(kModuleImageWidth, kModuleImageHeight);
    setFocusPolicy(Qt::StrongFocus);
    SetImage(1, 0);
}

QSize ModulePicture::sizeHint() const { return {kModuleImageWidth, kModuleImageHeight}; }

void ModulePicture::SetImage(int image, int moduleID)
{
    mImage = image;
    mModuleID = moduleID;
    RefreshDetails();
    update();
}

void ModulePicture::RefreshDetails()
{
    const ModuleData &record = mTable.Module(mModuleID);
    const QString details = DescribeModule(record, mTable.LocateFailed(mModuleID));
    setAccessibleName(record.GetSide() == 0 ? tr("No module") : tr("Module %1").arg(mModuleID));
    setToolTip(details);
    setAccessibleDescription(mImage > 4 ? tr("%1\nSelected").arg(details) : details);
}

bool ModulePicture::event(QEvent *event)
{
    // A reply parsed since the ring was drawn has changed the record: the tooltip shows it.
    if (event->type() == QEvent::ToolTip)
        RefreshDetails();
    return QWidget::event(event);
}

void ModulePicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, ModulePixmap(mImage, devicePixelRatioF()));
}

void ModulePicture::mousePressEvent(QMouseEvent *event)
{
    mPressed = event->button() == Qt::LeftButton;
    if (mPressed && isHidden()) {
        mPressed = false;
        emit pressedWhileReplaced(mIndex);
    }
}

void ModulePicture::TakePress()
{
    mPressed = true;
    grabMouse();
}

// The second press of a double-click belongs to the click before it.
void ModulePicture::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void ModulePicture::mouseReleaseEvent(QMouseEvent *event)
{
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    const bool click = mPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    mPressed = false;
    if (click)
        emit clicked(mIndex);
}

void ModulePicture::hideEvent(QHideEvent *event)
{
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    QWidget::hideEvent(event);
}

void ModulePicture::keyPressEvent(QKeyEvent *event)
{
    // A focused picture is clicked from the keyboard as a button would be, once per key stroke.
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            emit clicked(mIndex);
        return;
    }
    QWidget::keyPressEvent(event);
}
