#pragma once
// How a module's values read wherever the program writes them: the Module List, the events,
// the ring log, the reference file and the report.
#include <QString>
#include <cstdint>

// "4.1": whole and tenths of the version byte.
QString VersionText(uint8_t version);
// "0x4B": the mode byte as two upper-case hex digits.
QString ModeHex(uint8_t mode);
// The reply letter when it is a printable character other than a comma, else empty.
QString SideText(uint8_t side);
// "sound" or "faulty".
QString ChannelStateText(bool faulty);
