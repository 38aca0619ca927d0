#include "model/EventList.h"

#include <algorithm>

void EventList::Add(RingEvent event)
{
    if (mEvents.size() == kLimit) {
        mUnacknowledged -= int(!mEvents.front().acknowledged);
        mEvents.pop_front();
    }
    mUnacknowledged += int(!event.acknowledged);
    mEvents.push_back(std::move(event));
    emit added(mEvents.back());
    emit changed();
}

void EventList::Add(const QDateTime &time, int id, int position, const QString &text, bool acknowledged)
{
    RingEvent event;
    event.time = time;
    event.id = id;
    event.position = position;
    event.text = text;
    event.acknowledged = acknowledged;
    Add(std::move(event));
}

void EventList::AddEarlier(std::vector<RingEvent> events)
{
    if (events.empty())
        return;
    const size_t room = kLimit - std::min(kLimit, mEvents.size());
    const size_t skip = events.size() > room ? events.size() - room : 0;
    for (auto it = events.rbegin(); it != events.rend() - ptrdiff_t(skip); ++it) {
        mUnacknowledged += int(!it->acknowledged);
        mEvents.push_front(std::move(*it));
    }
    emit changed();
}

void EventList::AcknowledgeAll()
{
    if (mUnacknowledged == 0)
        return;
    for (RingEvent &event : mEvents)
        event.acknowledged = true;
    mUnacknowledged = 0;
    emit acknowledged();
    emit changed();
}
