#include "ringview/RingVectorDrawing.h"

#include "ringview/ModuleImages.h"
#include "ringview/RingGeometry.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

// The ring is laid out in twips as in Bus Info, on a square window of this size; the labels
// take room around it.
constexpr double kSide = 6000;
constexpr double kPixel = 15;  // twips per image pixel
constexpr double kPictureWidth = kModuleImageWidth * kPixel;
constexpr double kPictureHeight = kModuleImageHeight * kPixel;
constexpr double kGap = 60;
constexpr double kLargestText = kPictureHeight * 0.55;
// Below this a label ring is too crowded: every other label moves out to a second ring.
constexpr double kSmallestText = 150;
// An ID has at most five digits; a digit is narrower than this share of the text's height.
constexpr double kLabelWidthPerHeight = 5 * 0.62;

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

int32_t PictureRadiusTwips() { return PictureRadius(RingRadius(kSide, kPictureHeight)); }

// How far from the centre the first label ring begins: clear of every picture's corners.
double LabelRadius() { return PictureRadiusTwips() + std::hypot(kPictureWidth, kPictureHeight) / 2 + kGap; }

struct LabelRings
{
    double textHeight;
    bool staggered;
    double width() const { return textHeight * kLabelWidthPerHeight; }
    double OuterEnd() const { return LabelRadius() + (staggered ? 2 : 1) * (width() + kGap); }
};

LabelRings LabelRingsFor(int count)
{
    // Neighbouring labels on one label ring may not touch where they begin, the ring's inside.
    const double spacing = 2 * kRingPi * LabelRadius() / std::max(1, count);
    const double single = std::min(kLargestText, 0.75 * spacing);
    if (single >= kSmallestText || count < 2)
        return {single, false};
    return {std::min(kLargestText, 0.75 * 2 * spacing), true};
}

void DrawModuleBox(QPainter &painter, const QRectF &box, const ModuleSnapshot &module)
{
    painter.setPen(QPen(Qt::black, kPixel));
    painter.setBrush(Qt::black);
    painter.drawRect(box.adjusted(0, 4 * kPixel, -4 * kPixel, 0));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(box.adjusted(4 * kPixel, 0, 0, -4 * kPixel));
    for (int channel = 0; channel < 2; ++channel) {
        const bool faulty = channel == 0 ? module.faulty1 : module.faulty2;
        painter.setBrush(faulty ? kRed : kGreen);
        painter.drawEllipse(QRectF(box.x() + (5 + 7 * channel) * kPixel, box.y() + 3 * kPixel, 6 * kPixel, 6 * kPixel));
    }
}

} // namespace

QPolygonF RingLabel::Outline() const
{
    return QTransform().translate(anchor.x(), anchor.y()).rotate(-degrees).map(QPolygonF(box));
}

double RingDrawingSide(int count) { return 2 * std::max(kSide / 2, LabelRingsFor(count).OuterEnd() + kGap); }

std::vector<QRectF> RingPictureRects(int count)
{
    const double offset = (RingDrawingSide(count) - kSide) / 2;
    std::vector<QRectF> rects;
    for (int k = 0; k < count; ++k) {
        const TwipsPoint topLeft = PictureTopLeft(kSide, kSide, PictureRadiusTwips(), PositionAngle(k, count),
                                                  kPictureWidth, kPictureHeight);
        rects.emplace_back(topLeft.x + offset, topLeft.y + offset, kPictureWidth, kPictureHeight);
    }
    return rects;
}

std::vector<RingLabel> RingLabels(int count)
{
    const LabelRings rings = LabelRingsFor(count);
    const double centre = RingDrawingSide(count) / 2;
    std::vector<RingLabel> labels;
    for (int k = 0; k < count; ++k) {
        const double angle = PositionAngle(k, count);
        const double start = LabelRadius() + (rings.staggered && k % 2 == 1 ? rings.width() + kGap : 0);
        RingLabel label;
        label.textHeight = rings.textHeight;
        label.anchor = QPointF(centre + start * std::cos(angle), centre - start * std::sin(angle));
        // Along the radius, reading outward on the right half and inward on the left, so that
        // no label stands upside down.
        const bool left = std::cos(angle) < -1e-9;
        label.degrees = qRadiansToDegrees(angle) + (left ? 180 : 0);
        label.alignRight = left;
        const double width = rings.width();
        label.box = left ? QRectF(-width, -rings.textHeight / 2, width, rings.textHeight)
                         : QRectF(0, -rings.textHeight / 2, width, rings.textHeight);
        labels.push_back(label);
    }
    return labels;
}

void DrawRingVector(QPainter &painter, const QRectF &area, const RingSnapshot &ring)
{
    const int count = int(ring.size());
    const double side = RingDrawingSide(count);
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(area.width() / side, area.height() / side);
    const QPointF centre(side / 2, side / 2);
    const float ringRadius = RingRadius(kSide, kPictureHeight);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBlue, kPixel));
    for (int strand = 0; strand < 3; ++strand) {
        const double r = double(ringRadius) + strand * kRingStrandStep;
        painter.drawEllipse(centre, r, r);
    }

    painter.setPen(QPen(kRed, kPixel));
    for (int k = 0; k < count; ++k) {
        const int next = NextPosition(k, count);
        if (!ring[size_t(k)].AnyFaulty() || !ring[size_t(next)].AnyFaulty())
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

    const std::vector<QRectF> pictures = RingPictureRects(count);
    for (int k = 0; k < count; ++k)
        DrawModuleBox(painter, pictures[size_t(k)], ring[size_t(k)]);
    QFont font = painter.font();
    painter.setPen(Qt::black);
    if (count > 0) {
        font.setPixelSize(int(kLargestText));
        painter.setFont(font);
        const QRectF first = pictures.front();
        painter.drawText(QRectF(first.x() - 300, first.bottom(), kPictureWidth + 600, kPictureHeight),
                         Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("PC"));
    }
    const std::vector<RingLabel> labels = RingLabels(count);
    for (int k = 0; k < count; ++k) {
        const RingLabel &label = labels[size_t(k)];
        font.setPixelSize(std::max(1, int(label.textHeight)));
        painter.setFont(font);
        painter.save();
        painter.translate(label.anchor);
        painter.rotate(-label.degrees);
        painter.drawText(label.box, Qt::AlignVCenter | (label.alignRight ? Qt::AlignRight : Qt::AlignLeft),
                         QString::number(ring[size_t(k)].id));
        painter.restore();
    }
    painter.restore();
}
