#pragma once
// Window coordinates are kept in twips; the screen works in logical pixels, 15 twips each.
#include <cmath>
#include <cstdint>

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline int64_t PixelsToTwips(int pixels) { return int64_t(pixels) * kTwipsPerPixel; }
