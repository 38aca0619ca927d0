#pragma once
// Rings written as text for tests, and a keeper that has taken a row of them.
#include "model/RingKeeper.h"

#include <QString>
#include <QStringList>

// "5G 7L 9R": modules with their sides, firmware 4.1, mode 0x13; "7L:v42", ":m4b", ":f1", ":c2=40".
inline RingSnapshot Ring(const QString &text)
{
    RingSnapshot ring;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = word.split(QLatin1Char(':'));
        ModuleSnapshot module{parts[0].chopped(1).toInt(), uint8_t(parts[0].back().toLatin1()), 41, 0x13};
        for (const QString &p : parts.mid(1)) {
            if (p.startsWith(QLatin1Char('v'))) module.version = uint8_t(p.mid(1).toInt());
            if (p.startsWith(QLatin1Char('m'))) module.mode = uint8_t(p.mid(1).toInt(nullptr, 16));
            if (p == QLatin1String("f1")) module.faulty1 = true;
            if (p == QLatin1String("f2")) module.faulty2 = true;
            if (p.startsWith(QLatin1String("c1="))) module.counter1 = p.mid(3).toInt();
            if (p.startsWith(QLatin1String("c2="))) module.counter2 = p.mid(3).toInt();
        }
        ring.push_back(module);
    }
    return ring;
}

// The reference ("none": without one) and the scans, "|" between them ("-": a scan that found
// none; "!" before one: cut by a lost port after what follows), taken in turn; the scans are sent 10 s apart from firstSentMs. seed: a ring kept from
// an earlier run.
template <typename EachScan>
void TakeRings(RingKeeper &keeper, const QString &reference, const QString &scans, EachScan eachScan,
               int64_t firstSentMs = 0, const QString &seed = {})
{
    if (reference != QLatin1String("none"))
        keeper.SetReference(Ring(reference));
    if (!seed.isEmpty()) {
        RingScan kept;
        kept.modules = Ring(seed);
        keeper.Seed(kept);
    }
    for (const QString &ring : scans.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        RingScan scan;
        scan.serial = keeper.LastScan().serial + 1;
        scan.sentMs = firstSentMs + int64_t(scan.serial - 1) * 10000;
        scan.cut = ring.startsWith(QLatin1Char('!'));
        const QString modules = scan.cut ? ring.mid(1) : ring;
        scan.modules = modules == QLatin1String("-") ? RingSnapshot() : Ring(modules);
        keeper.Take(scan);
        eachScan(scan);
    }
}
