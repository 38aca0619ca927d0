#pragma once
// The window's drawing surface: a persistent image of the client area on which the ring is
// cleared and drawn in twips with a one-pixel pen, so covering the window loses nothing.
#include <QColor>
#include <QImage>

class RingCanvas
{
public:
    static inline const QColor kBackground{192, 192, 192};
    static inline const QColor kBlue{0, 0, 255};
    static inline const QColor kRed{255, 0, 0};

    // A new size keeps what fits of the old drawing; the rest is background.
    void Resize(const QSize &size);
    const QImage &Image() const { return mImage; }

    void Clear();
    // One-pixel lines without antialiasing; nothing is drawn for a radius of zero or less.
    void Circle(double centreX, double centreY, double radius, const QColor &colour);
    // Counterclockwise from start to end (radians); equal angles draw the whole circle.
    void Arc(double centreX, double centreY, double radius, const QColor &colour, double startAngle,
             double endAngle);

private:
    QImage mImage;
};
