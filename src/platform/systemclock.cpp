#include "systemclock.h"

#include <QThread>

SystemClock::SystemClock() {
    m_timer.start();
}

qint64 SystemClock::monotonicMs() const {
    return m_timer.elapsed();
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

void SystemClock::sleepMs(int ms) {
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}
