#pragma once
// A ring's module IDs in ring order as the history keeps them: two bytes each, little-endian.
#include "model/RingScan.h"

#include <QByteArray>
#include <vector>

QByteArray RingOrderBlob(const RingSnapshot &modules);
std::vector<int> RingOrderIds(const QByteArray &blob);
