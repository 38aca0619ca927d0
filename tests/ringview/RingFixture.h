#pragma once
// Shared by the ring view tests: a ring in the module table, and link colours read back
// from the window's drawing.
#include "model/Global.h"
#include "model/Twips.h"
#include "ringview/RingGeometry.h"

#include <QImage>
#include <QMetaType>
#include <cmath>
#include <vector>

namespace ringtest {

struct RingModule
{
    int id;
    bool fault1 = false;
    bool fault2 = false;
};

// Fills records and ring order as a scan would have; time stamps are 100 s.
inline void SetRing(const std::vector<RingModule> &modules)
{
    gModuleCount = int16_t(modules.size());
    for (size_t k = 0; k < modules.size(); ++k) {
        ModuleData &record = gModules[size_t(modules[k].id)];
        record.SetModuleID(int16_t(modules[k].id));
        record.SetStatusChannel1(modules[k].fault1);
        record.SetStatusChannel2(modules[k].fault2);
        record.SetTimeStamp(100.0f);
        gModuleOrder[k] = int16_t(modules[k].id);
    }
}

// What the drawing shows on the ring at an angle in degrees (within a pixel of the ring):
// 'b' blue, 'r' red, 'x' both, '-' neither.
inline char RingColourAt(const QImage &image, double degrees)
{
    const double radius = (double(image.height()) * kTwipsPerPixel / 2.0 - 405.0) / kTwipsPerPixel;
    const double a = degrees * kRingPi / 180.0;
    const int cx = int(std::lround(image.width() / 2.0 + radius * std::cos(a)));
    const int cy = int(std::lround(image.height() / 2.0 - radius * std::sin(a)));
    bool blue = false, red = false;
    for (int y = cy - 1; y <= cy + 1; ++y)
        for (int x = cx - 1; x <= cx + 1; ++x)
            if (image.rect().contains(x, y)) {
                blue = blue || (image.pixel(x, y) & 0xFFFFFF) == 0x0000FF;
                red = red || (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
            }
    return blue && red ? 'x' : blue ? 'b' : red ? 'r' : '-';
}

// The middle of the link from position k to the next one.
inline double LinkMiddle(int k, int count)
{
    const int from = PositionDegrees(k, count) % 360;
    int to = PositionDegrees(NextPosition(k, count), count) % 360;
    return (from + (to <= from ? to + 360 : to)) / 2.0;
}

} // namespace ringtest

Q_DECLARE_METATYPE(std::vector<ringtest::RingModule>)
