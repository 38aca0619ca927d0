#pragma once
// Verify Settings: asks for one scan and compares, for each module, the mode byte that the
// scan's replies carried with what the Apply buttons had sent to it by then. Its scan is the
// first whose G goes out with or after its own (a Refresh or an automatic refresh inside its
// wait shares its ring). Sends nothing but the scan.
#include "model/AppliedModes.h"
#include "model/RingScan.h"
#include "model/Verification.h"

#include <QObject>
#include <cstdint>
#include <optional>

class BusLink;
class RingTable;

class SettingsVerifier : public QObject
{
    Q_OBJECT

public:
    SettingsVerifier(BusLink &link, const RingTable &table, QObject *parent = nullptr);

    void Verify();
    // The verification that a settled scan completes, if it is the one awaited.
    std::optional<Verification> Take(const RingScan &scan);

private:
    BusLink &mLink;
    const RingTable &mTable;
    uint64_t mAwaitedSerial = 0;
    Verification mPending;
    AppliedModes mAppliedThen;
};
