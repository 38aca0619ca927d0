#include "core/SettingsVerifier.h"

#include "bus/BusLink.h"
#include "model/Clock.h"

SettingsVerifier::SettingsVerifier(BusLink &link, QObject *parent)
    : QObject(parent), mLink(link)
{
}

void SettingsVerifier::Verify()
{
    mAwaitedSerial = mLink.NextScanSerial();
    mAppliedThen = gAppliedModes;
    mPending = Verification{TheClock().EpochMs(), gAppliedModes.LastStamp(), {}};
    mLink.Scan();
}

std::optional<Verification> SettingsVerifier::Take(const RingScan &scan)
{
    if (mAwaitedSerial == 0 || scan.serial < mAwaitedSerial)
        return std::nullopt;
    mAwaitedSerial = 0;
    Verification verification = mPending;
    verification.results = VerifyRing(scan.modules, mAppliedThen);
    return verification;
}
