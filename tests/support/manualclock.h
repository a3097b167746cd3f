#pragma once

#include "clock.h"

// A clock that moves only when told to (or when something sleeps on it),
// so time-outs of seconds run in microseconds and every test sees the same times.
class ManualClock : public Clock {
public:
    explicit ManualClock(const QDateTime& start = QDateTime(QDate(2026, 12, 7), QTime(8, 0)));

    qint64 monotonicMs() const override { return m_ms; }
    QDateTime now() const override { return m_start.addMSecs(m_ms); }
    void sleepMs(int ms) override { advance(ms); }

    void advance(qint64 ms);

private:
    QDateTime m_start;
    qint64 m_ms = 0;
};
