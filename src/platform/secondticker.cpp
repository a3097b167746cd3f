#include "secondticker.h"

#include "clock.h"

#include <QTimer>

SecondTicker::SecondTicker(const Clock& clock, std::function<void(const QDateTime&)> tick,
                           QObject* parent)
    : QObject(parent), m_clock(clock), m_tick(std::move(tick)), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &SecondTicker::fire);
}

void SecondTicker::start() {
    m_lastSecond = -1;
    fire();
}

void SecondTicker::stop() {
    m_timer->stop();
}

void SecondTicker::fire() {
    const QDateTime now = m_clock.now();
    const qint64 second = now.toMSecsSinceEpoch() / 1000;
    if (second != m_lastSecond) {
        m_lastSecond = second;
        m_tick(now);
    }
    m_timer->start(1000 - now.time().msec() + kSlackMs);
}
