#include "model/EventList.h"

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

void EventList::AcknowledgeAll()
{
    if (mUnacknowledged == 0)
        return;
    for (RingEvent &event : mEvents)
        event.acknowledged = true;
    mUnacknowledged = 0;
    emit changed();
}
