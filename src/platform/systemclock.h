#pragma once

#include "clock.h"

#include <QElapsedTimer>

// The real clock: QElapsedTimer for time-outs, the system's local time.
class SystemClock : public Clock {
public:
    SystemClock();
    qint64 monotonicMs() const override;
    QDateTime now() const override;
    void sleepMs(int ms) override;

private:
    QElapsedTimer m_timer;
};
