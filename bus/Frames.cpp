#include "bus/Frames.h"

QByteArray BuildCommandFrame(uint8_t cmd, uint8_t arg1, uint8_t arg2, uint8_t arg3)
{
    QByteArray frame(kCommandFrameSize, '\0');
    frame[0] = char(cmd);
    frame[4] = 10;
    frame[5] = 13;
    if (cmd == 'P') {
        frame[1] = char(arg1);
        frame[2] = char(arg2);
    } else if (cmd == 'W' || cmd == 'S') {
        frame[1] = char(arg1);
        frame[2] = char(arg2);
        frame[3] = char(arg3);
    }
    return frame;
}

bool IsValidReply(const uint8_t *frame)
{
    return frame[0] >= kLowestReplyLetter && frame[9] == 10 && frame[10] == 13;
}

Reply DecodeReply(const uint8_t *frame)
{
    Reply reply;
    reply.letter = frame[0];
    reply.id = frame[1] + 256 * frame[2];
    reply.version = frame[3];
    reply.mode = frame[4];
    reply.status2 = (frame[6] & 0x80) != 0;
    reply.counter2 = int16_t(frame[5] + 256 * (frame[6] & 0x7F));
    reply.status1 = (frame[8] & 0x80) != 0;
    reply.counter1 = int16_t(frame[7] + 256 * (frame[8] & 0x7F));
    return reply;
}

QByteArray EncodeReply(const Reply &reply)
{
    QByteArray frame(kReplySize, '\0');
    frame[0] = char(reply.letter);
    frame[1] = char(reply.id & 0xFF);
    frame[2] = char((reply.id >> 8) & 0xFF);
    frame[3] = char(reply.version);
    frame[4] = char(reply.mode);
    frame[5] = char(reply.counter2 & 0xFF);
    frame[6] = char(((reply.counter2 >> 8) & 0x7F) | (reply.status2 ? 0x80 : 0));
    frame[7] = char(reply.counter1 & 0xFF);
    frame[8] = char(((reply.counter1 >> 8) & 0x7F) | (reply.status1 ? 0x80 : 0));
    frame[9] = 10;
    frame[10] = 13;
    return frame;
}
