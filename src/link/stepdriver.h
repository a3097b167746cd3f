#pragma once

#include <QObject>

#include <functional>

class QTimer;
class RSComm;

// Runs everything that repeats or takes long as timer-driven steps on the
// one user-interface thread: the pages' refresh cycles, the status poll,
// data transfers, program download and upload, the report. Each step does
// at most one board exchange and returns to the event loop, so windows,
// buttons and Cancel stay live between steps; nothing here ever spins a
// nested event loop.
//
// A step never starts while a link transaction is in progress: a link
// message box (time-out, mode failure) runs a nested event loop in which
// timers still fire, so does the window while the link waits on a silent
// board, and two transactions must never interleave. Such a tick is tried
// again a little later.
class StepDriver : public QObject {
    Q_OBJECT

public:
    // Milliseconds to wait before the next step, asked after every step.
    using Pace = std::function<int()>;

    static constexpr int kBusyRetryMs = 50;
    // Offline, a page's document pass runs a few times a second: an idle
    // page costs no CPU, yet an edit elsewhere shows quickly.
    static constexpr int kOfflinePaceMs = 250;

    StepDriver(const RSComm& link, std::function<void()> step, Pace pace,
               QObject* parent = nullptr);

    // A fixed interval (the status poll's 500 ms).
    static Pace every(int ms);
    // Online the next step follows at once, the link setting the pace;
    // offline, kOfflinePaceMs.
    static Pace followLink(const RSComm& link);

    // Starts stepping; the first step after firstDelayMs. Ends a hold.
    void start(int firstDelayMs = 0);
    void stop();
    bool isActive() const { return m_active; }
    // Stops stepping while a long command has the line to itself; notice is
    // what the owner shows meanwhile ("Paused since 14:02:31 while the
    // program is downloaded"). The next start() ends the hold.
    void hold(const QString& notice);
    bool isHeld() const { return m_held; }

    // One tick as the timer runs it: the step, unless a transaction is in
    // progress, then the next tick is scheduled (while active).
    void runStep();

    // The delay the next tick was scheduled with.
    int scheduledDelayMs() const;
    // The timer behind the ticks, named by the owner for tools and tests.
    QTimer* timer() const { return m_timer; }

signals:
    void held(const QString& notice);
    void resumed();

private:
    void schedule(int delayMs);

    const RSComm& m_link;
    std::function<void()> m_step;
    Pace m_pace;
    QTimer* m_timer;
    bool m_active = false;
    bool m_held = false;
};
