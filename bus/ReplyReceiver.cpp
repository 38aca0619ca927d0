#include "bus/ReplyReceiver.h"

#include "bus/Frames.h"
#include "model/Clock.h"
#include "model/RingTable.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace {

// The replies in the given order; those without a reading are left out.
RingSnapshot InOrder(const std::vector<ModuleSnapshot> &readings, const int16_t *order, size_t count)
{
    std::unordered_map<int, size_t> byID;
    byID.reserve(readings.size());
    for (size_t k = 0; k < readings.size(); ++k)
        byID[readings[k].id] = k;
    RingSnapshot ring;
    ring.reserve(count);
    for (size_t k = 0; k < count; ++k)
        if (const auto found = byID.find(order[k]); found != byID.end())
            ring.push_back(readings[found->second]);
    return ring;
}

ModuleSnapshot ReadingOf(const Reply &reply)
{
    return {reply.id, reply.letter, reply.version, reply.mode, reply.status1, reply.status2,
            reply.counter1, reply.counter2, TheClock().EpochMs()};
}

} // namespace

void ReplyReceiver::Append(const QByteArray &bytes)
{
    for (const char byte : bytes) {
        if (mRxWrite >= kParseThreshold) {
            if (mEcho)
                EchoWaiting();
            TakeFrames();
            KeepRemainder();
        }
        mRxBuffer[size_t(mRxWrite++)] = uint8_t(byte);
    }
    emit received();
}

bool ReplyReceiver::ParseWaiting()
{
    if (mEcho)
        EchoWaiting();
    TakeFrames();
    const bool sorted = mGReplySeen;
    if (sorted)
        mTable.SortModulesBySide();
    mGReplySeen = false;
    KeepRemainder();
    return sorted;
}

void ReplyReceiver::DropRemainder()
{
    mRxRead = mRxWrite = mEchoed = 0;
}

void ReplyReceiver::Reset()
{
    DropRemainder();
    mGReplySeen = false;
}

void ReplyReceiver::EchoWaiting()
{
    // Lines start at the read index, as frames do, so a line is a frame when the
    // input is in step; bytes that do not fill a line wait for the next echo.
    for (int start = mRxRead + mEchoed; start + kReplySize <= mRxWrite; start += kReplySize) {
        QString line;
        line.reserve(3 * kReplySize);
        for (int i = 0; i < kReplySize; ++i)
            line += QStringLiteral(" %1").arg(mRxBuffer[size_t(start + i)], 2, 16, QLatin1Char('0')).toUpper();
        emit debugLine(line);
        mEchoed += kReplySize;
    }
}

void ReplyReceiver::TakeFrames()
{
    while (mRxWrite - mRxRead >= kReplySize) {
        const uint8_t *frame = mRxBuffer.data() + mRxRead;
        if (!IsValidReply(frame)) {
            // An invalid frame drops the whole buffer; that is how the parser falls back
            // into step with the frames.
            mRxRead = mRxWrite = mEchoed = 0;
            return;
        }
        mRxRead += kReplySize;
        mEchoed = std::max(0, mEchoed - kReplySize);

        const Reply reply = DecodeReply(frame);
        // A reply from beyond the table's last slot has nowhere to go.
        if (!IsTableID(reply.id))
            continue;

        const float timeOfDay = TheClock().SecondsSinceMidnight();
        const ModuleSnapshot reading = ReadingOf(reply);
        const bool scanReply = IsScanSide(reply.letter);
        if (reply.letter == 'G') {
            mGReplySeen = true;
            mTable.SetLocalModuleID(reply.id);
        }

        if (scanReply && mCarrying && TakenByCarriedOver(char(reply.letter), reply.id)) {
            // Not counted in the newer ring, but the record takes what the module said.
            mCarriedReadings.push_back(reading);
        } else if (scanReply && mTable.Counted(reply.id)) {
            continue;
        }

        mTable.Store(reply.id, reply.letter, reply.version, reply.mode, reply.status1, int16_t(reply.counter1),
                     reply.status2, int16_t(reply.counter2), timeOfDay);
        if (scanReply && !mCarrying && mTable.Append(reply.id))
            mReadings.push_back(reading);
        if (reply.letter == 'G')
            emit localModeReceived(reply.mode);
    }
}

RingSnapshot ReplyReceiver::Readings() const
{
    return InOrder(mReadings, mTable.Order().data(), mTable.Order().size());
}

RingSnapshot ReplyReceiver::Waiting() const
{
    RingSnapshot waiting;
    for (int at = mRxRead; at + kReplySize <= mRxWrite; at += kReplySize) {
        const uint8_t *frame = mRxBuffer.data() + at;
        if (!IsValidReply(frame))
            break;
        const Reply reply = DecodeReply(frame);
        if (IsScanSide(reply.letter) && IsTableID(reply.id))
            waiting.push_back(ReadingOf(reply));
    }
    return waiting;
}

void ReplyReceiver::CarryOver(std::vector<int16_t> order)
{
    mCarried = std::move(order);
    mCarriedReadings = std::exchange(mReadings, {});
    mCarrying = true;
}

RingSnapshot ReplyReceiver::TakeCarriedOver()
{
    mCarrying = false;
    RingSnapshot ring = InOrder(mCarriedReadings, mCarried.data(), mCarried.size());
    mCarried.clear();
    mCarriedReadings.clear();
    return ring;
}

bool ReplyReceiver::TakenByCarriedOver(char letter, int id)
{
    // The attached module answers a scan first; a module that the older ring has already
    // answered is answering the newer scan.
    if (letter == 'G' || std::find(mCarried.begin(), mCarried.end(), id) != mCarried.end()) {
        mCarrying = false;
        return false;
    }
    mCarried.push_back(int16_t(id));
    return true;
}

void ReplyReceiver::KeepRemainder()
{
    const int remainder = mRxWrite - mRxRead;
    if (remainder > 0 && mRxRead > 0)
        std::memmove(mRxBuffer.data(), mRxBuffer.data() + mRxRead, size_t(remainder));
    mRxRead = 0;
    mRxWrite = remainder;
}
