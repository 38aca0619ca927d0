#pragma once
// The events of this run, and of earlier runs where the history kept them, oldest first, at
// most the last kLimit; any part of the program may add one (a scan's comparison, a
// verification).
#include "model/RingEvent.h"

#include <QObject>
#include <deque>
#include <vector>

class EventList : public QObject
{
    Q_OBJECT

public:
    static constexpr size_t kLimit = 10000;

    void Add(RingEvent event);
    void Add(const QDateTime &time, int id, int position, const QString &text, bool acknowledged = false);
    // Events of earlier runs, oldest first, before every event of this run.
    void AddEarlier(std::vector<RingEvent> events);
    void AcknowledgeAll();

    size_t Count() const { return mEvents.size(); }
    // 0 is the oldest kept.
    const RingEvent &At(size_t index) const { return mEvents[index]; }
    int UnacknowledgedCount() const { return mUnacknowledged; }

signals:
    void added(const RingEvent &event);
    void changed();
    // AcknowledgeAll acknowledged at least one event.
    void acknowledged();

private:
    std::deque<RingEvent> mEvents;
    int mUnacknowledged = 0;
};
