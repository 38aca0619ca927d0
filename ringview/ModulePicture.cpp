#include "ringview/ModulePicture.h"

#include "ringview/ModuleImages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ModulePicture::ModulePicture(int index, QWidget *parent)
    : QWidget(parent), mIndex(index)
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
    const bool selected = image > 4;
    const int pattern = (image - 1) % 4;
    const auto state = [](bool faulty) { return faulty ? QStringLiteral("faulty") : QStringLiteral("sound"); };
    QString description = QStringLiteral("channel 1 %1, channel 2 %2").arg(state(pattern & 1), state(pattern & 2));
    if (selected)
        description += QStringLiteral(", selected");
    setAccessibleName(QStringLiteral("Module %1").arg(moduleID));
    setAccessibleDescription(description);
    update();
}

void ModulePicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, ModulePixmap(mImage, devicePixelRatioF()));
}

void ModulePicture::mousePressEvent(QMouseEvent *event)
{
    mPressed = event->button() == Qt::LeftButton;
}

// The second press of a double-click belongs to the click before it.
void ModulePicture::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void ModulePicture::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = mPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    mPressed = false;
    if (click)
        emit clicked(mIndex);
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
