#pragma once
// The receive buffer and the reply parser: bytes in, records of the ring table out.
#include "model/RingScan.h"

#include <QObject>
#include <array>
#include <cstdint>
#include <vector>

class RingTable;

class ReplyReceiver : public QObject
{
    Q_OBJECT

public:
    explicit ReplyReceiver(RingTable &table) : mTable(table) {}

    // Whether every received line of 11 bytes is echoed as debugLine.
    void SetEcho(bool on) { mEcho = on; }
    bool Echo() const { return mEcho; }

    static constexpr int kBufferSize = 1024;
    // Whole frames are taken out once this much is waiting, so the buffer never wraps
    // over bytes that were not parsed yet.
    static constexpr int kParseThreshold = kBufferSize / 2;

    // Stores received bytes behind what is waiting; parses early when the buffer fills.
    void Append(const QByteArray &bytes);

    // One parse pass over everything waiting: debug echo, every whole frame, the side sort
    // when a G reply came, and a cut-off frame at the end kept for the next pass.
    // True when the pass sorted the ring order.
    bool ParseWaiting();

    // Forgets a cut-off frame kept from an earlier pass (the line has gone quiet).
    void DropRemainder();

    // Empties the buffer and forgets the G reply of the current pass.
    void Reset();

    // A new scan went out: the replies counted from now on are its own.
    void BeginScan() { mReadings.clear(); }
    // The counted modules of the current scan in the table's ring order, each as its reply said it.
    RingSnapshot Readings() const;

    // The replies waiting in the buffer for the next parse pass, as whole frames that pass the
    // check, each as it said it: what the ring has told of its modules before the pass takes it.
    RingSnapshot Waiting() const;

    // A newer scan went out while the ring still answered the last one: until the newer ring's
    // first reply (letter G, or a module that order holds already), scan replies are stored
    // and added to order instead of being counted in the newer ring. The readings so far go
    // with it.
    void CarryOver(std::vector<int16_t> order);
    bool CarryingOver() const { return mCarrying; }
    size_t CarriedCount() const { return mCarried.size(); }
    // The ring carried over, with the replies it took, as they said it; ends the carrying over.
    RingSnapshot TakeCarriedOver();

signals:
    // Bytes came: Waiting, and Readings where a full buffer was parsed early, may tell more.
    void received();
    // The module the PC is attached to reported its mode byte.
    void localModeReceived(quint8 mode);
    // One line of 11 received bytes for the debug window, as " 47 07 00 ...".
    void debugLine(const QString &line);

private:
    void EchoWaiting();
    void TakeFrames();
    void KeepRemainder();
    // Whether a scan reply belongs to the ring carried over; ends the carrying over when not.
    bool TakenByCarriedOver(char letter, int id);

    RingTable &mTable;
    bool mEcho = false;
    std::array<uint8_t, kBufferSize> mRxBuffer{};
    int mRxWrite = 0;
    int mRxRead = 0;
    int mEchoed = 0;  // bytes from mRxRead on that the debug echo has shown already
    bool mGReplySeen = false;
    bool mCarrying = false;
    std::vector<int16_t> mCarried;
    std::vector<ModuleSnapshot> mReadings;         // the current scan's counted replies, as they came
    std::vector<ModuleSnapshot> mCarriedReadings;  // those of the ring carried over
};
