#pragma once
// A scan's record as JSON, for scripts: the scan's own fields, and each module with the columns
// of the ring log.
#include "model/RingScan.h"

#include <QJsonObject>

QJsonObject ScanJson(const RingScan &scan);
