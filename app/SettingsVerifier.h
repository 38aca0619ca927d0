#pragma once
// Verify Settings: runs one scan and, once that scan's replies are all in, compares each
// module's mode byte with what the Apply buttons last sent to it. Sends nothing but the scan.
#include "model/RingScan.h"
#include "model/Verification.h"

#include <QObject>
#include <cstdint>
#include <vector>

class BusLink;

class SettingsVerifier : public QObject
{
    Q_OBJECT

public:
    explicit SettingsVerifier(BusLink &link, QObject *parent = nullptr);

    void Verify();
    // The last verification's results; empty before the first.
    const std::vector<VerifyResult> &Results() const { return mResults; }

signals:
    void verified(const std::vector<VerifyResult> &results);

private:
    void OnScanSettled(const RingScan &scan);

    BusLink &mLink;
    uint64_t mAwaitedSerial = 0;
    std::vector<VerifyResult> mResults;
};
