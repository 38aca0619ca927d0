#pragma once
// A ring's module IDs in ring order as the history keeps them: two bytes each, little-endian.
#include "history/StoredRow.h"
#include "model/RingScan.h"

#include <QByteArray>
#include <vector>

QByteArray RingOrderBlob(const RingSnapshot &modules);
// The IDs of a stored ring order; none, and the row bad, unless the value is such a list of
// distinct IDs of the module table.
std::vector<int> RingOrderIds(const QVariant &stored, StoredRow &row);
