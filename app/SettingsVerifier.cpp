#include "app/SettingsVerifier.h"

#include "bus/BusLink.h"
#include "model/AppliedModes.h"
#include "model/Global.h"

SettingsVerifier::SettingsVerifier(BusLink &link, QObject *parent)
    : QObject(parent), mLink(link)
{
    connect(&mLink, &BusLink::scanSettled, this, &SettingsVerifier::OnScanSettled);
}

void SettingsVerifier::Verify()
{
    mAwaitedSerial = mLink.NextScanSerial();
    mLink.Scan();
}

void SettingsVerifier::OnScanSettled(const RingScan &scan)
{
    if (mAwaitedSerial == 0 || scan.serial != mAwaitedSerial)
        return;
    mAwaitedSerial = 0;
    mResults = VerifyRing(scan.order, gAppliedModes, [](int id) { return IsTableID(id) ? gModules[size_t(id)].GetMode() : uint8_t(0); });
    emit verified(mResults);
}
