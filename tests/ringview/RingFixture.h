#pragma once
// Shared by the ring view tests: a ring in the core's table, brought by a scan's replies, and
// link colours read back from the window's drawing.
#include "bus/Frames.h"
#include "MemorySerialPort.h"
#include "core/RingCore.h"
#include "model/Twips.h"
#include "ringview/RingGeometry.h"

#include <QImage>
#include <QMetaType>
#include <QTimer>
#include <cmath>
#include <vector>

namespace ringtest {

struct RingModule
{
    int id;
    bool fault1 = false;
    bool fault2 = false;
};

// The replies of a ring in ring order: the attached module first (G), the others on its left.
inline QByteArray RingReplies(const std::vector<RingModule> &modules)
{
    QByteArray replies;
    for (size_t k = 0; k < modules.size(); ++k) {
        Reply reply;
        reply.letter = k == 0 ? 'G' : 'L';
        reply.id = modules[k].id;
        reply.version = 41;
        reply.mode = 0x13;
        reply.status1 = modules[k].fault1;
        reply.status2 = modules[k].fault2;
        replies += EncodeReply(reply);
    }
    return replies;
}

// A Refresh that the ring on port answers with modules: the table holds them in that order. The
// port is polled and parsed on every turn of the event loop while the scan waits.
inline void SetRing(RingCore &core, MemorySerialPort &port, const std::vector<RingModule> &modules)
{
    if (!port.IsOpen())
        port.Open();
    QTimer ticker;
    bool answered = false;
    QObject::connect(&ticker, &QTimer::timeout, &core, [&] {
        if (!std::exchange(answered, true))
            port.Feed(RingReplies(modules));
        core.Link().PollPort();
        core.Link().ParseReceived();
    });
    ticker.start(0);
    core.Scan();
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
