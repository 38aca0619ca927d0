#include "ringview/RingVectorDrawing.h"

#include "model/Global.h"
#include "ringview/ModuleImages.h"
#include "ringview/RingGeometry.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cmath>

namespace {

// The drawing is laid out in twips as in Bus Info, on a square window of this size.
constexpr double kSide = 6000;
constexpr double kPixel = 15;  // twips per image pixel
constexpr double kPictureWidth = kModuleImageWidth * kPixel;
constexpr double kPictureHeight = kModuleImageHeight * kPixel;

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

bool AnyFaulty(const ModuleData &record) { return record.GetStatusChannel1() || record.GetStatusChannel2(); }

const ModuleData &RecordOf(int16_t id)
{
    static const ModuleData empty;
    return IsTableID(id) ? gModules[size_t(id)] : empty;
}

void DrawModuleBox(QPainter &painter, const QPointF &topLeft, const ModuleData &record)
{
    const QRectF box(topLeft, QSizeF(kPictureWidth, kPictureHeight));
    painter.setPen(QPen(Qt::black, kPixel));
    painter.setBrush(Qt::black);
    painter.drawRect(box.adjusted(0, 4 * kPixel, -4 * kPixel, 0));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(box.adjusted(4 * kPixel, 0, 0, -4 * kPixel));
    for (int channel = 0; channel < 2; ++channel) {
        const bool faulty = channel == 0 ? record.GetStatusChannel1() : record.GetStatusChannel2();
        painter.setBrush(faulty ? kRed : kGreen);
        painter.drawEllipse(QRectF(topLeft.x() + (5 + 7 * channel) * kPixel, topLeft.y() + 3 * kPixel,
                                   6 * kPixel, 6 * kPixel));
    }
}

} // namespace

void DrawRingVector(QPainter &painter, const QRectF &area, const std::vector<int16_t> &order)
{
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(area.width() / kSide, area.height() / kSide);
    const QPointF centre(kSide / 2, kSide / 2);
    const float ringRadius = RingRadius(kSide, kPictureHeight);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBlue, kPixel));
    for (int strand = 0; strand < 3; ++strand) {
        const double r = double(ringRadius) + strand * kRingStrandStep;
        painter.drawEllipse(centre, r, r);
    }

    const int count = int(order.size());
    painter.setPen(QPen(kRed, kPixel));
    for (int k = 0; k < count; ++k) {
        const int next = NextPosition(k, count);
        if (!AnyFaulty(RecordOf(order[size_t(k)])) || !AnyFaulty(RecordOf(order[size_t(next)])))
            continue;
        const double start = PositionAngle(k, count);
        const double sweep = ArcSweep(start, PositionAngle(next, count));
        for (int strand = 0; strand < 3; ++strand) {
            const double r = double(ringRadius) + strand * kRingStrandStep;
            const QRectF circle(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
            QPainterPath arc;
            arc.arcMoveTo(circle, qRadiansToDegrees(start));
            arc.arcTo(circle, qRadiansToDegrees(start), qRadiansToDegrees(sweep));
            painter.drawPath(arc);
        }
    }

    const int32_t pictureRadius = PictureRadius(ringRadius);
    QFont font = painter.font();
    font.setPixelSize(int(kPictureHeight * 0.55));
    painter.setFont(font);
    for (int k = 0; k < count; ++k) {
        const int16_t id = order[size_t(k)];
        const double angle = PositionAngle(k, count);
        const TwipsPoint topLeft = PictureTopLeft(kSide, kSide, pictureRadius, angle, kPictureWidth, kPictureHeight);
        DrawModuleBox(painter, QPointF(topLeft.x, topLeft.y), RecordOf(id));
        // The ID stands on the side away from the ring's centre line.
        const bool right = std::cos(angle) >= -1e-9;
        const QRectF label(right ? topLeft.x + kPictureWidth + kPixel : topLeft.x - 1200 - kPixel, topLeft.y, 1200,
                           kPictureHeight);
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignVCenter | (right ? Qt::AlignLeft : Qt::AlignRight), QString::number(id));
        if (k == 0)
            painter.drawText(QRectF(topLeft.x - 300, topLeft.y + kPictureHeight, kPictureWidth + 600, kPictureHeight),
                             Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("PC"));
    }
    painter.restore();
}
