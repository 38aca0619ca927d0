#include "model/RingComparison.h"

#include "model/Global.h"
#include "model/ReferenceFile.h"

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

QString UpperMode(uint8_t mode)
{
    return QStringLiteral("0x") + QString::number(mode, 16).toUpper().rightJustified(2, QLatin1Char('0'));
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

std::vector<RingEvent> AgainstReference(const RingSnapshot &ring, const RingSnapshot &reference,
                                        const std::vector<int> &inRing, const std::vector<int> &inReference)
{
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
                                       .arg(UpperMode(module.mode), UpperMode(saved.mode))));
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

void AgainstBefore(const RingSnapshot &now, const RingSnapshot &before, const std::vector<int> &inBefore,
                   const std::vector<int> &inReference, std::vector<RingEvent> &events)
{
    for (size_t k = 0; k < now.size(); ++k) {
        const ModuleSnapshot &module = now[k];
        const int place = inBefore[size_t(module.id)];
        if (place < 0) {
            if (!inReference.empty() && inReference[size_t(module.id)] >= 0)
                events.push_back(Event(RingEventKind::AnswersAgain, module.id, int(k),
                                       QStringLiteral("Module %1 answers again").arg(module.id)));
            continue;
        }
        const ModuleSnapshot &last = before[size_t(place)];
        const bool faulty[2] = {module.faulty1, module.faulty2};
        const bool wasFaulty[2] = {last.faulty1, last.faulty2};
        const int counter[2] = {module.counter1, module.counter2};
        const int lastCounter[2] = {last.counter1, last.counter2};
        for (int channel = 0; channel < 2; ++channel) {
            const QString name = QStringLiteral("Module %1 channel %2 ").arg(module.id).arg(channel + 1);
            if (faulty[channel] != wasFaulty[channel])
                events.push_back(Event(faulty[channel] ? RingEventKind::Faulty : RingEventKind::SoundAgain, module.id,
                                       int(k), name + (faulty[channel] ? QStringLiteral("faulty") : QStringLiteral("sound again"))));
            if (counter[channel] > lastCounter[channel])
                events.push_back(Event(RingEventKind::CounterRise, module.id, int(k),
                                       name + QStringLiteral("error counter +%1").arg(counter[channel] - lastCounter[channel])));
        }
    }
}

} // namespace

std::vector<RingEvent> CompareRings(const RingSnapshot &now, const RingSnapshot *reference, const RingSnapshot *before)
{
    const std::vector<int> inNow = Positions(now);
    std::vector<RingEvent> events;
    std::vector<int> inReference;
    if (reference) {
        inReference = Positions(*reference);
        events = AgainstReference(now, *reference, inNow, inReference);
    }
    if (!before)
        return events;
    const std::vector<int> inBefore = Positions(*before);
    if (reference) {
        // Told at the scan before already.
        QSet<QString> told;
        for (const RingEvent &event : AgainstReference(*before, *reference, inBefore, inReference))
            told.insert(event.text);
        std::erase_if(events, [&](const RingEvent &event) { return told.contains(event.text); });
    }
    AgainstBefore(now, *before, inBefore, inReference, events);
    return events;
}
