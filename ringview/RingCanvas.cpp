#include "ringview/RingCanvas.h"

#include "ringview/RingGeometry.h"
#include "model/Twips.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Circles and arcs are sampled at the same fixed angles, so an arc covers exactly the
// pixels of the circle it lies on and a link painted over the base ring leaves no
// pixel of the ring's colour behind.
struct Sampling
{
    double cx;
    double cy;
    double r;
    int steps;
};

Sampling SamplingFor(double centreX, double centreY, double radius)
{
    const double r = radius / kTwipsPerPixel;
    // At least two samples per pixel of circumference: no gaps in the line.
    const int steps = std::max(8, int(std::ceil(4.0 * kRingPi * r)));
    return {centreX / kTwipsPerPixel, centreY / kTwipsPerPixel, r, steps};
}

void PlotSample(QImage &image, const Sampling &s, int64_t i, QRgb colour)
{
    const int64_t step = ((i % s.steps) + s.steps) % s.steps;
    const double angle = 2.0 * kRingPi * double(step) / double(s.steps);
    const int64_t x = std::llround(s.cx + s.r * std::cos(angle));
    const int64_t y = std::llround(s.cy - s.r * std::sin(angle));
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        image.setPixel(int(x), int(y), colour);
}

} // namespace

void RingCanvas::Resize(const QSize &size)
{
    if (size == mImage.size())
        return;
    QImage resized(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    resized.fill(kBackground);
    if (!mImage.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, mImage);
    }
    mImage = resized;
}

void RingCanvas::Clear() { mImage.fill(kBackground); }

void RingCanvas::Circle(double centreX, double centreY, double radius, const QColor &colour)
{
    if (radius <= 0 || mImage.isNull())
        return;
    const Sampling s = SamplingFor(centreX, centreY, radius);
    for (int i = 0; i < s.steps; ++i)
        PlotSample(mImage, s, i, colour.rgb());
}

void RingCanvas::Arc(double centreX, double centreY, double radius, const QColor &colour,
                     double startAngle, double endAngle)
{
    if (radius <= 0 || mImage.isNull())
        return;
    const Sampling s = SamplingFor(centreX, centreY, radius);
    const double perStep = 2.0 * kRingPi / double(s.steps);
    const double stop = startAngle + ArcSweep(startAngle, endAngle);
    const int64_t first = int64_t(std::ceil(startAngle / perStep - 1e-9));
    const int64_t last = int64_t(std::floor(stop / perStep + 1e-9));
    for (int64_t i = first; i <= last; ++i)
        PlotSample(mImage, s, i, colour.rgb());
}
