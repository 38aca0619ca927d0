#pragma once
// Where things go on the ring and which colour and image they get; pure functions in twips
// and whole degrees, shared by the drawing pass and the module click.
#include <cstdint>

inline constexpr double kRingPi = 3.14159265358979;
// The three circles and arcs of the ring lie this far apart, in twips.
inline constexpr double kRingStrandStep = 5.0;

struct TwipsPoint
{
    double x = 0;
    double y = 0;
};

// Whole degrees to radians, with one wrap in each direction: 450 -> 90, 800 -> 440, -400 -> -40.
double DegToRad(int16_t deg);

// 360 / count x k + 90, rounded to whole degrees with halves to the even neighbour.
int PositionDegrees(int k, int count);
double PositionAngle(int k, int count);

int NextPosition(int k, int count);
int PreviousPosition(int k, int count);

// Half the inner height less the picture height, in single precision.
float RingRadius(double innerHeight, double pictureHeight);
// The ring radius rounded to whole twips (halves to even); 32 bits, so no window is too big.
int32_t PictureRadius(float ringRadius);

// Top-left corner of a picture whose centre lies on the ring at the given angle.
TwipsPoint PictureTopLeft(double innerWidth, double innerHeight, int32_t pictureRadius,
                          double angle, double pictureWidth, double pictureHeight);

// Counterclockwise sweep from start to end in radians; an end below the start passes
// through 0, and equal angles sweep the full circle.
double ArcSweep(double startAngle, double endAngle);

// A link is red when each of its two modules has a faulty channel.
bool LinkIsRed(bool p1Faulty, bool p2Faulty, bool q1Faulty, bool q2Faulty);

// The click's rule for one neighbouring link. On a ring of two, both links join the same
// modules and the clicked module's own channel (1 towards the next, 2 from the previous)
// tells them apart; otherwise it is the ordinary rule.
bool ClickLinkIsRed(int count, bool clickedChannelFaulty, bool clickedAnyFaulty, bool neighbourAnyFaulty);

// Images 1 to 4 by the faulty channels, 5 to 8 for the same when selected.
int ImageIndex(bool channel1Faulty, bool channel2Faulty, bool selected);
