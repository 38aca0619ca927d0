#include "ringview/ModuleImages.h"

#include <QHash>
#include <cmath>

namespace {

const QRgb kTransparent = qRgba(0, 0, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGreyFace = qRgb(128, 128, 128);
const QRgb kBlueFace = qRgb(192, 192, 255);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);

// The box: a face with a one-pixel outline, standing on a band four pixels deep along the
// left and bottom edges, with the corners of that band cut off diagonally.
constexpr int kBand = 4;
constexpr int kFaceLeft = kBand;  // first face column; the band is the outline on that side
constexpr int kFaceBottom = kModuleImageHeight - 1 - kBand;

constexpr int kLampSize = 6;
constexpr int kLampTop = 3;
constexpr int kLeftLampX = 5;
constexpr int kRightLampX = 12;

bool InCutCorner(int x, int y)
{
    const int topLeft = x + y;  // 0, 1, 2: the six pixels of the upper-left triangle
    const int bottomRight = (kModuleImageWidth - 1 - x) + (kModuleImageHeight - 1 - y);
    return topLeft <= 2 || bottomRight <= 2;
}

void DrawLamp(QImage &image, int left, QRgb colour)
{
    for (int dy = 0; dy < kLampSize; ++dy) {
        for (int dx = 0; dx < kLampSize; ++dx) {
            const bool cornerX = dx == 0 || dx == kLampSize - 1;
            const bool cornerY = dy == 0 || dy == kLampSize - 1;
            if (cornerX && cornerY)
                continue;  // rounded: the corners keep the face
            const bool rim = cornerX || cornerY;
            image.setPixel(left + dx, kLampTop + dy, rim ? kBlack : colour);
        }
    }
}

} // namespace

QImage ModuleImage(int index)
{
    if (index < 1 || index > kModuleImageCount)
        return {};
    const int pattern = (index - 1) % 4;
    const bool selected = index > 4;
    const QRgb face = selected ? kBlueFace : kGreyFace;
    const QRgb lamp1 = (pattern & 1) ? kRed : kGreen;
    const QRgb lamp2 = (pattern & 2) ? kRed : kGreen;

    QImage image(kModuleImageWidth, kModuleImageHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kModuleImageHeight; ++y) {
        for (int x = 0; x < kModuleImageWidth; ++x) {
            const bool inFace = x >= kFaceLeft && x < kModuleImageWidth - 1 && y > 0 && y <= kFaceBottom;
            QRgb colour = inFace ? face : kBlack;
            if (InCutCorner(x, y))
                colour = kTransparent;
            image.setPixel(x, y, colour);
        }
    }
    DrawLamp(image, kLeftLampX, lamp1);
    DrawLamp(image, kRightLampX, lamp2);
    return image;
}

QPixmap ModulePixmap(int index, qreal devicePixelRatio)
{
    const int scale = std::max(1, int(std::ceil(devicePixelRatio - 0.01)));
    static QHash<int, QPixmap> cache;
    const int key = index * 100 + scale;
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const QImage design = ModuleImage(index);
    if (design.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(
        design.scaled(design.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    pixmap.setDevicePixelRatio(scale);
    cache.insert(key, pixmap);
    return pixmap;
}
