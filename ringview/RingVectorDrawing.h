#pragma once
// The ring of Bus Info drawn with a painter as vector graphics (for a report): the base ring,
// red links, one module box with two lamps per ring position, and each module's ID outside
// the ring, along its radius, where no picture and no other ID covers it.
#include "model/RingScan.h"

#include <QPolygonF>
#include <QRectF>
#include <vector>

class QPainter;

// Where one ID label stands, in the drawing's twips: its text box in a frame turned about
// its anchor, and the text's height.
struct RingLabel
{
    QPointF anchor;
    double degrees = 0;  // the frame's turn, counterclockwise as the ring's angles go
    QRectF box;          // the text's box in the turned frame
    bool alignRight = false;
    double textHeight = 0;

    // The box as it lies in the drawing.
    QPolygonF Outline() const;
};

// The side of the square the drawing takes for a ring of count modules, in twips.
double RingDrawingSide(int count);
// Each module picture's rectangle, and each ID label, by ring position.
std::vector<QRectF> RingPictureRects(int count);
std::vector<RingLabel> RingLabels(int count);

// Draws the modules of a scan, with the channel states their replies carried, into the square area.
void DrawRingVector(QPainter &painter, const QRectF &area, const RingSnapshot &ring);
