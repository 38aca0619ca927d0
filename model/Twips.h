#pragma once
// Window coordinates are kept in twips; the screen works in logical pixels, 15 twips each.
#include <cmath>
#include <cstdint>

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline int64_t PixelsToTwips(int pixels) { return int64_t(pixels) * kTwipsPerPixel; }

// A window's size in twips, kept in 32 bits: a main window on a large screen is wider than
// 32767 twips.
struct TwipsSize
{
    int32_t width = 0;
    int32_t height = 0;
};
