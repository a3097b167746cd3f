#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class RSComm;

// Runs a page's refresh as timer-driven steps, one board read per step,
// returning to the event loop between steps so the page's fields and buttons
// are served while it runs. Online the next step follows at once (the link
// sets the pace); offline the document passes run a few times a second, so
// an idle page costs no CPU. A step never starts while a link transaction is
// in progress (a link message box runs a nested event loop in which this
// timer still fires): it is tried again a little later.
class RefreshCycle : public QObject {
    Q_OBJECT

public:
    static constexpr int kOfflinePaceMs = 250;
    static constexpr int kBusyRetryMs = 50;

    RefreshCycle(RSComm& link, std::function<void()> step, QObject* parent);

    void start();
    void stop();
    bool isActive() const { return m_active; }

    // One step now, as the timer runs it (skipped while a transaction runs).
    void runStep();

private:
    void schedule(int delayMs);

    RSComm& m_link;
    std::function<void()> m_step;
    QTimer m_timer;
    bool m_active = false;
};
