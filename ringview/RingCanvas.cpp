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
// Centre, radius and pen in device pixels.
struct Sampling
{
    double cx;
    double cy;
    double r;
    int steps;
    int pen;
};

Sampling SamplingFor(double centreX, double centreY, double radius, double scale)
{
    const double perTwip = scale / kTwipsPerPixel;
    const double r = radius * perTwip;
    // At least two samples per device pixel of circumference: no gaps in the line.
    const int steps = std::max(8, int(std::ceil(4.0 * kRingPi * r)));
    return {centreX * perTwip, centreY * perTwip, r, steps, std::max(1, int(std::lround(scale)))};
}

void PlotSample(QImage &image, const Sampling &s, int64_t i, QRgb colour)
{
    const int64_t step = ((i % s.steps) + s.steps) % s.steps;
    const double angle = 2.0 * kRingPi * double(step) / double(s.steps);
    const int64_t x0 = std::llround(s.cx + s.r * std::cos(angle)) - (s.pen - 1) / 2;
    const int64_t y0 = std::llround(s.cy - s.r * std::sin(angle)) - (s.pen - 1) / 2;
    for (int64_t y = y0; y < y0 + s.pen; ++y) {
        for (int64_t x = x0; x < x0 + s.pen; ++x) {
            if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
                image.setPixel(int(x), int(y), colour);
        }
    }
}

} // namespace

void RingCanvas::Resize(const QSize &size, double scale)
{
    scale = scale > 0 ? scale : 1.0;
    const QSize devicePixels = (QSizeF(size) * scale).toSize().expandedTo(QSize(1, 1));
    if (devicePixels == mImage.size() && scale == mScale)
        return;
    mScale = scale;
    QImage resized(devicePixels, QImage::Format_RGB32);
    resized.setDevicePixelRatio(scale);
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
    const Sampling s = SamplingFor(centreX, centreY, radius, mScale);
    for (int i = 0; i < s.steps; ++i)
        PlotSample(mImage, s, i, colour.rgb());
}

void RingCanvas::Arc(double centreX, double centreY, double radius, const QColor &colour,
                     double startAngle, double endAngle)
{
    if (radius <= 0 || mImage.isNull())
        return;
    const Sampling s = SamplingFor(centreX, centreY, radius, mScale);
    const double perStep = 2.0 * kRingPi / double(s.steps);
    const double stop = startAngle + ArcSweep(startAngle, endAngle);
    const int64_t first = int64_t(std::ceil(startAngle / perStep - 1e-9));
    const int64_t last = int64_t(std::floor(stop / perStep + 1e-9));
    for (int64_t i = first; i <= last; ++i)
        PlotSample(mImage, s, i, colour.rgb());
}
