#pragma once
// The bytes on the wire: 7-byte command frames to the ring and 11-byte replies from it.
#include <QByteArray>
#include <cstdint>

inline constexpr int kCommandFrameSize = 7;
inline constexpr int kReplySize = 11;
inline constexpr uint8_t kLowestReplyLetter = 'E';

// Letter, three argument bytes, then 10, 13, 0. P carries arguments 1 and 2 only;
// S and W carry all three; every other letter carries zeros.
QByteArray BuildCommandFrame(uint8_t cmd, uint8_t arg1, uint8_t arg2, uint8_t arg3);

struct Reply
{
    uint8_t letter = 0;
    int id = 0;  // 0 to 65535; only 0 to 32000 has a table slot
    uint8_t version = 0;
    uint8_t mode = 0;
    bool status1 = false;
    bool status2 = false;
    int16_t counter1 = 0;
    int16_t counter2 = 0;
};

// A reply is valid when its letter is "E" or above and it ends with 10, 13.
bool IsValidReply(const uint8_t *frame);
// Decodes 11 bytes; channel 2 comes before channel 1 on the wire.
Reply DecodeReply(const uint8_t *frame);
// The inverse, for tests and the simulator side.
QByteArray EncodeReply(const Reply &reply);
