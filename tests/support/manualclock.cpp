#include "manualclock.h"

ManualClock::ManualClock(const QDateTime& start) : m_start(start) {}

void ManualClock::advance(qint64 ms) {
    if (ms > 0)
        m_ms += ms;
}
