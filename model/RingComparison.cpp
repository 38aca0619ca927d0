#include "model/RingComparison.h"

#include "model/Global.h"
#include "model/ModuleTexts.h"

#include <QPair>
#include <QSet>
#include <algorithm>

namespace {

// Ring position of each ID in a ring, -1 where it is not.
std::vector<int> Positions(const RingSnapshot &ring)
{
    std::vector<int> positions(kTableSize, -1);
    for (size_t k = 0; k < ring.size(); ++k)
        if (IsTableID(ring[k].id))
            positions[size_t(ring[k].id)] = int(k);
    return positions;
}

RingEvent Event(RingEventKind kind, int id, int position, const QString &text)
{
    RingEvent event;
    event.kind = kind;
    event.id = id;
    event.position = position;
    event.text = text;
    return event;
}

// Which entries of values (distinct numbers) belong to one longest increasing run: the modules
// that kept their order. The others moved.
std::vector<bool> InLongestIncreasing(const std::vector<int> &values)
{
    std::vector<int> tails;  // index into values of the smallest tail of each run length
    std::vector<int> previous(values.size(), -1);
    for (size_t k = 0; k < values.size(); ++k) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), values[k],
                                         [&](int index, int value) { return values[size_t(index)] < value; });
        if (at != tails.begin())
            previous[k] = *(at - 1);
        if (at == tails.end())
            tails.push_back(int(k));
        else
            *at = int(k);
    }
    std::vector<bool> kept(values.size(), false);
    for (int k = tails.empty() ? -1 : tails.back(); k >= 0; k = previous[size_t(k)])
        kept[size_t(k)] = true;
    return kept;
}

std::vector<RingEvent> AgainstReference(const RingSnapshot &ring, const RingSnapshot &reference)
{
    const std::vector<int> inRing = Positions(ring);
    const std::vector<int> inReference = Positions(reference);
    std::vector<RingEvent> events;
    for (size_t k = 0; k < reference.size(); ++k)
        if (inRing[size_t(reference[k].id)] < 0)
            events.push_back(Event(RingEventKind::Missing, reference[k].id, int(k),
                                   QStringLiteral("Module %1 missing").arg(reference[k].id)));
    std::vector<int> referencePlaces;
    std::vector<int> ringPlaces;
    for (size_t k = 0; k < ring.size(); ++k) {
        const ModuleSnapshot &module = ring[k];
        const int place = inReference[size_t(module.id)];
        if (place < 0) {
            events.push_back(Event(RingEventKind::NotInReference, module.id, int(k),
                                   QStringLiteral("Module %1 not in the reference").arg(module.id)));
            continue;
        }
        referencePlaces.push_back(place);
        ringPlaces.push_back(int(k));
        const ModuleSnapshot &saved = reference[size_t(place)];
        if (module.version != saved.version)
            events.push_back(Event(RingEventKind::Firmware, module.id, int(k),
                                   QStringLiteral("Module %1 firmware %2, reference %3")
                                       .arg(module.id)
                                       .arg(VersionText(module.version), VersionText(saved.version))));
        if (module.mode != saved.mode)
            events.push_back(Event(RingEventKind::Mode, module.id, int(k),
                                   QStringLiteral("Module %1 mode %2, reference %3")
                                       .arg(module.id)
                                       .arg(ModeHex(module.mode), ModeHex(saved.mode))));
    }
    const std::vector<bool> kept = InLongestIncreasing(referencePlaces);
    for (size_t k = 0; k < kept.size(); ++k) {
        if (kept[k])
            continue;
        const int id = ring[size_t(ringPlaces[k])].id;
        events.push_back(Event(RingEventKind::Moved, id, ringPlaces[k],
                               QStringLiteral("Module %1 at position %2, reference %3")
                                   .arg(id)
                                   .arg(ringPlaces[k])
                                   .arg(referencePlaces[k])));
    }
    return events;
}

// A difference of one kind of one module, however its text reads.
using Told = QSet<QPair<int, int>>;
QPair<int, int> Key(const RingEvent &event) { return {int(event.kind), event.id}; }

void ChannelEvents(const RingKeeper &keeper, const ModuleSnapshot &module, int position, const ModuleSnapshot *last,
                   std::vector<RingEvent> &events)
{
    const bool faulty[2] = {module.faulty1, module.faulty2};
    for (int channel = 0; channel < 2; ++channel) {
        const QString name = QStringLiteral("Module %1 channel %2 ").arg(module.id).arg(channel + 1);
        // A module with no reading before: only a fault is news.
        const bool wasFaulty = last ? (channel == 0 ? last->faulty1 : last->faulty2) : false;
        if (faulty[channel] != wasFaulty)
            events.push_back(Event(faulty[channel] ? RingEventKind::Faulty : RingEventKind::SoundAgain, module.id, position,
                                   name + (faulty[channel] ? QStringLiteral("faulty") : QStringLiteral("sound again"))));
        const int increase = keeper.Increase(module.id, channel + 1);
        if (increase > 0)
            events.push_back(Event(RingEventKind::CounterRise, module.id, position,
                                   name + QStringLiteral("error counter +%1").arg(increase)));
    }
}

void AgainstBefore(const RingKeeper &keeper, const RingSnapshot &now, const RingSnapshot *before,
                   const std::vector<int> &inReference, const Told &toldNow, std::vector<RingEvent> &events)
{
    const auto inTheReference = [&inReference](int id) { return !inReference.empty() && inReference[size_t(id)] >= 0; };
    const std::vector<int> inBefore = before ? Positions(*before) : std::vector<int>(kTableSize, -1);
    if (before) {
        // A module of the reference that goes is told against the reference.
        const std::vector<int> inNow = Positions(now);
        for (size_t k = 0; k < before->size(); ++k) {
            const int id = (*before)[k].id;
            if (inNow[size_t(id)] < 0 && !inTheReference(id))
                events.push_back(Event(RingEventKind::Missing, id, int(k), QStringLiteral("Module %1 missing").arg(id)));
        }
    }
    for (size_t k = 0; k < now.size(); ++k) {
        const ModuleSnapshot &module = now[k];
        const int place = inBefore[size_t(module.id)];
        const ModuleSnapshot *last = place >= 0 ? &(*before)[size_t(place)] : nullptr;
        if (!last && before && (inTheReference(module.id) || keeper.SeenBefore(module.id)))
            events.push_back(Event(RingEventKind::AnswersAgain, module.id, int(k),
                                   QStringLiteral("Module %1 answers again").arg(module.id)));
        if (last && module.version != last->version && !toldNow.contains({int(RingEventKind::Firmware), module.id}))
            events.push_back(Event(RingEventKind::Firmware, module.id, int(k),
                                   QStringLiteral("Module %1 firmware %2, was %3")
                                       .arg(module.id)
                                       .arg(VersionText(module.version), VersionText(last->version))));
        if (last && module.mode != last->mode && !toldNow.contains({int(RingEventKind::Mode), module.id}))
            events.push_back(Event(RingEventKind::Mode, module.id, int(k),
                                   QStringLiteral("Module %1 mode %2, was %3")
                                       .arg(module.id)
                                       .arg(ModeHex(module.mode), ModeHex(last->mode))));
        ChannelEvents(keeper, module, int(k), last, events);
    }
}

} // namespace

std::vector<RingEvent> ScanEvents(const RingKeeper &keeper)
{
    const RingScan &scan = keeper.LastScan();
    if (!scan.Found()) {
        // The first failed scan of a row says so; the ring found next is compared with the last one found.
        if (keeper.FailedInRow() != 1)
            return {};
        return {Event(RingEventKind::NoModulesFound, -1, -1, QStringLiteral("No modules found"))};
    }
    const RingSnapshot &now = scan.modules;
    const RingSnapshot *before = keeper.FoundBefore() ? &keeper.FoundBefore()->modules : nullptr;
    std::vector<RingEvent> events;
    std::vector<int> inReference;
    Told toldNow;
    if (const auto &reference = keeper.Reference()) {
        inReference = Positions(*reference);
        Told toldBefore;
        if (before)
            for (const RingEvent &event : AgainstReference(*before, *reference))
                toldBefore.insert(Key(event));
        for (RingEvent &event : AgainstReference(now, *reference)) {
            if (toldBefore.contains(Key(event)))
                continue;
            toldNow.insert(Key(event));
            events.push_back(std::move(event));
        }
    }
    AgainstBefore(keeper, now, before, inReference, toldNow, events);
    return events;
}

std::vector<RingEvent> ReferenceDifferences(const RingSnapshot &ring, const RingSnapshot &reference)
{
    return AgainstReference(ring, reference);
}
