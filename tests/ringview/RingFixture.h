#pragma once
// Helpers the ring view tests share: a ring in the module table, and reading link colours
// back from the window's drawing.
#include "model/Global.h"
#include "model/Twips.h"
#include "ringview/RingGeometry.h"

#include <QColor>
#include <QImage>
#include <QMetaType>
#include <QPoint>
#include <cmath>
#include <utility>
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
        const RingModule &module = modules[k];
        ModuleData &record = gModules[size_t(module.id)];
        record.SetModuleID(int16_t(module.id));
        record.SetStatusChannel1(module.fault1);
        record.SetStatusChannel2(module.fault2);
        record.SetTimeStamp(100.0f);
        gModuleOrder[k] = int16_t(module.id);
    }
}

enum class Seen { Blue, Red, Both, Neither };

// What the drawing shows on the ring at an angle in degrees (within a pixel of the ring).
inline Seen RingColourAt(const QImage &image, double degrees)
{
    const double radius = (double(image.height()) * kTwipsPerPixel / 2.0 - 405.0) / kTwipsPerPixel;
    const double a = degrees * kRingPi / 180.0;
    const QPoint centre(int(std::lround(image.width() / 2.0 + radius * std::cos(a))),
                        int(std::lround(image.height() / 2.0 - radius * std::sin(a))));
    bool blue = false;
    bool red = false;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = centre + QPoint(dx, dy);
            if (!image.rect().contains(p))
                continue;
            const QRgb pixel = image.pixel(p) & 0xFFFFFF;
            blue = blue || pixel == 0x0000FF;
            red = red || pixel == 0xFF0000;
        }
    }
    if (blue && red)
        return Seen::Both;
    return blue ? Seen::Blue : red ? Seen::Red : Seen::Neither;
}

// The middle of the link from position k to the next one.
inline double LinkMiddle(int k, int count)
{
    const int from = PositionDegrees(k, count) % 360;
    int to = PositionDegrees(NextPosition(k, count), count) % 360;
    if (to <= from)
        to += 360;
    return (from + to) / 2.0;
}

} // namespace ringtest

Q_DECLARE_METATYPE(ringtest::Seen)
Q_DECLARE_METATYPE(std::vector<ringtest::RingModule>)
