#pragma once
// The eight module images, drawn pixel by pixel: a grey (1-4) or light-blue (5-8) box with
// a lamp per channel, green when sound and red when faulty.
#include <QImage>
#include <QPixmap>

inline constexpr int kModuleImageCount = 8;
inline constexpr int kModuleImageWidth = 20;
inline constexpr int kModuleImageHeight = 27;

// Image 1 to 8 at its design size of 20 x 27 pixels; a null image for any other index.
QImage ModuleImage(int index);

// The same for a screen with the given device pixel ratio: each design pixel becomes a
// whole number of device pixels, so the image stays sharp.
QPixmap ModulePixmap(int index, qreal devicePixelRatio);
