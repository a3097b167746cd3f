#pragma once

#include <QDateTime>

// Time as the program needs it: a monotonic millisecond count for
// time-outs, the wall clock for dates, and a blocking pause.
// Tests use ManualClock, so a 5-second time-out runs in microseconds.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual qint64 monotonicMs() const = 0;
    // Local date and time of day.
    virtual QDateTime now() const = 0;
    // Blocks for the given time (the manual clock just advances).
    virtual void sleepMs(int ms) = 0;
};
