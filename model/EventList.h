#pragma once
// The events of this run, oldest first, at most the last kLimit; any part of the program may
// add one (a scan's comparison, a verification).
#include "model/RingEvent.h"

#include <QObject>
#include <deque>

class EventList : public QObject
{
    Q_OBJECT

public:
    static constexpr size_t kLimit = 10000;

    void Add(RingEvent event);
    void Add(const QDateTime &time, int id, int position, const QString &text, bool acknowledged = false);
    void AcknowledgeAll();

    size_t Count() const { return mEvents.size(); }
    // 0 is the oldest kept.
    const RingEvent &At(size_t index) const { return mEvents[index]; }
    int UnacknowledgedCount() const { return mUnacknowledged; }

signals:
    void added(const RingEvent &event);
    void changed();

private:
    std::deque<RingEvent> mEvents;
    int mUnacknowledged = 0;
};
