#include "ringview/RingGeometry.h"

#include <cmath>

double DegToRad(int16_t deg)
{
    int value = deg;
    if (value >= 360)
        value -= 360;
    if (value < 0)
        value += 360;
    return double(value) * kRingPi / 180.0;
}

int PositionDegrees(int k, int count)
{
    if (count <= 0)
        return 90;
    // nearbyint in the default rounding mode sends halves to the even neighbour.
    return int(std::nearbyint(360.0 / double(count) * double(k) + 90.0));
}

double PositionAngle(int k, int count) { return DegToRad(int16_t(PositionDegrees(k, count))); }

int NextPosition(int k, int count) { return k + 1 >= count ? 0 : k + 1; }

int PreviousPosition(int k, int count) { return k <= 0 ? count - 1 : k - 1; }

float RingRadius(double innerHeight, double pictureHeight)
{
    return float(innerHeight / 2.0 - pictureHeight);
}

int32_t PictureRadius(float ringRadius) { return int32_t(std::nearbyint(double(ringRadius))); }

TwipsPoint PictureTopLeft(double innerWidth, double innerHeight, int32_t pictureRadius,
                          double angle, double pictureWidth, double pictureHeight)
{
    TwipsPoint topLeft;
    topLeft.y = innerHeight / 2.0 - double(pictureRadius) * std::sin(angle) - pictureHeight / 2.0;
    topLeft.x = innerWidth / 2.0 + double(pictureRadius) * std::cos(angle) - pictureWidth / 2.0;
    return topLeft;
}

double ArcSweep(double startAngle, double endAngle)
{
    const double fullCircle = 2.0 * kRingPi;
    if (endAngle > startAngle)
        return endAngle - startAngle;
    return endAngle - startAngle + fullCircle;
}

bool LinkIsRed(bool p1Faulty, bool p2Faulty, bool q1Faulty, bool q2Faulty)
{
    return (p1Faulty || p2Faulty) && (q1Faulty || q2Faulty);
}

bool ClickLinkIsRed(int count, bool clickedChannelFaulty, bool clickedAnyFaulty, bool neighbourAnyFaulty)
{
    if (count == 2)
        return clickedChannelFaulty && neighbourAnyFaulty;
    return clickedAnyFaulty && neighbourAnyFaulty;
}

int ImageIndex(bool channel1Faulty, bool channel2Faulty, bool selected)
{
    return 1 + (channel1Faulty ? 1 : 0) + (channel2Faulty ? 2 : 0) + (selected ? 4 : 0);
}
