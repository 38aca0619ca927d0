#pragma once
// A span of time as the Trends window and the report write it: "45 s", "12 min", "3 h 5 min",
// "2 d 4 h".
#include <QString>
#include <cstdint>

QString DurationText(int64_t ms);
