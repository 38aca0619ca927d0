#pragma once
// The ring of Bus Info drawn with a painter as vector graphics (for a report): the base ring,
// red links, one module box with two lamps per ring position and each module's ID beside it.
#include <QRectF>
#include <cstdint>
#include <vector>

class QPainter;

// Draws the modules of the order, with their records' channel states, into the square area.
void DrawRingVector(QPainter &painter, const QRectF &area, const std::vector<int16_t> &order);
