#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>

class Clock;
class QTimer;

// Calls back each time the second of the clock changes, a few milliseconds
// after the change, for labels that show the time with seconds. A timer of
// a fixed second drifts against the clock and, being coarse, may fire early:
// the label would then skip a second or show one twice. Here each shot of a
// precise single-shot timer is aimed at the next whole second of the clock
// itself; a shot that still comes early finds the old second, shows nothing
// new and aims again.
class SecondTicker : public QObject {
    Q_OBJECT

public:
    // Slack after the whole second, for the timer's and the clock's rounding.
    static constexpr int kSlackMs = 2;

    SecondTicker(const Clock& clock, std::function<void(const QDateTime&)> tick,
                 QObject* parent = nullptr);

    // Calls back at once, then at every new second.
    void start();
    void stop();
    // One shot as the timer fires it.
    void fire();
    QTimer* timer() const { return m_timer; }

private:
    const Clock& m_clock;
    std::function<void(const QDateTime&)> m_tick;
    QTimer* m_timer;
    qint64 m_lastSecond = -1;
};
