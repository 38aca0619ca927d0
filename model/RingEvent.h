#pragma once
// One thing that changed on the ring, as the events window lists it and the ring log keeps it.
#include <QDateTime>
#include <QString>

enum class RingEventKind {
    Missing,         // in the reference, not answering
    NotInReference,
    Moved,
    Firmware,
    Mode,
    Faulty,
    SoundAgain,
    CounterRise,
    AnswersAgain,
    NoModulesFound,
    Other  // added by other code, such as a verification
};

struct RingEvent
{
    QDateTime time;
    int id = -1;        // -1: no module
    int position = -1;  // ring position in the scan; -1: none
    QString text;
    bool acknowledged = false;
    RingEventKind kind = RingEventKind::Other;

    // Missing modules, faulty channels and a ring that does not answer call for attention.
    bool IsAlarm() const
    {
        return kind == RingEventKind::Missing || kind == RingEventKind::Faulty || kind == RingEventKind::NoModulesFound;
    }
};
