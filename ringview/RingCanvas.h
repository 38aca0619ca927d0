#pragma once
// The window's drawing surface: a persistent image of the client area on which the ring is
// cleared and drawn in twips with a pen one logical pixel wide, so covering the window loses
// nothing. The image has the screen's own resolution, so circles stay smooth at any scale.
#include <QColor>
#include <QImage>

class RingCanvas
{
public:
    static inline const QColor kBackground{192, 192, 192};
    static inline const QColor kBlue{0, 0, 255};
    static inline const QColor kRed{255, 0, 0};

    // A new size (logical pixels) or scale keeps what fits of the old drawing; the rest is
    // background. scale: device pixels per logical pixel.
    void Resize(const QSize &size, double scale = 1.0);
    const QImage &Image() const { return mImage; }

    void Clear();
    // One-pixel lines without antialiasing; nothing is drawn for a radius of zero or less.
    void Circle(double centreX, double centreY, double radius, const QColor &colour);
    // Counterclockwise from start to end (radians); equal angles draw the whole circle.
    void Arc(double centreX, double centreY, double radius, const QColor &colour, double startAngle,
             double endAngle);

private:
    QImage mImage;
    double mScale = 1.0;
};
