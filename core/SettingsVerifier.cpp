#include "core/SettingsVerifier.h"

#include "bus/BusLink.h"
#include "model/Clock.h"
#include "model/RingTable.h"

SettingsVerifier::SettingsVerifier(BusLink &link, const RingTable &table, QObject *parent)
    : QObject(parent), mLink(link), mTable(table)
{
}

void SettingsVerifier::Verify()
{
    mAwaitedSerial = mLink.NextScanSerial();
    mAppliedThen = mTable.Applied();
    mPending = Verification{TheClock().EpochMs(), mTable.Applied().LastStamp(), {}};
    mLink.Scan();
}

std::optional<Verification> SettingsVerifier::Take(const RingScan &scan)
{
    if (mAwaitedSerial == 0 || scan.serial < mAwaitedSerial || scan.cut)
        return std::nullopt;
    mAwaitedSerial = 0;
    Verification verification = mPending;
    verification.results = VerifyRing(scan.modules, mAppliedThen);
    return verification;
}
