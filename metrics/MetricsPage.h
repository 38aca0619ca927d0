#pragma once
// The metrics page in the Prometheus text format 0.0.4: the port, the scans of this run, the ring
// of the last scan that found modules against the reference (each module as its newest reply
// told it), and the events not acknowledged.
#include "model/RingKeeper.h"

#include <QByteArray>
#include <cstdint>

inline constexpr char kMetricsContentType[] = "text/plain; version=0.0.4";

// The scans of this run, by whether they found modules, found none, or were cut by a lost port.
struct ScanCounts
{
    uint64_t found = 0;
    uint64_t none = 0;
    uint64_t cut = 0;

    void Count(const RingScan &scan) { ++(scan.cut ? cut : scan.Found() ? found : none); }
};

struct MetricsSources
{
    bool portOpen = false;
    const RingKeeper *keeper = nullptr;
    ScanCounts scans;
    int eventsUnacknowledged = 0;
    bool historyUp = false;
    uint64_t historyScansMissed = 0;
};

QByteArray MetricsPage(const MetricsSources &sources);
