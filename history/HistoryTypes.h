#pragma once
// What the history answers about the ring over a span of time: one module's channels per
// interval, a channel's totals, a module's share of the scans it answered.
#include <cstdint>

// One interval of a module's chart.
struct TrendBucket
{
    int64_t startMs = 0;
    int64_t endMs = 0;
    int64_t increase1 = 0;   // the counters' increase, channel 1 and 2
    int64_t increase2 = 0;
    int64_t faulty1Ms = 0;   // how long each channel was reported faulty
    int64_t faulty2Ms = 0;
    int scans = 0;           // scans of the port in the interval
    int answered = 0;        // of them, those the module answered

    bool Gap() const { return answered < scans; }
};

// One channel over a span: its counter's increase and how long it was faulty.
struct ChannelTotal
{
    int id = 0;
    int channel = 1;
    int64_t increase = 0;
    int64_t faultyMs = 0;
};

// How many of the port's scans in a span a module answered.
struct ModuleShare
{
    int id = 0;
    int answered = 0;
    int scans = 0;

    double Percent() const { return scans > 0 ? 100.0 * answered / scans : 0.0; }
};
