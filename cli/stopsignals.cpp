#include "stopsignals.h"

#include "taskrunner.h"

#include <QTimer>

#include <csignal>

namespace {
constexpr int kStopCheckMs = 20; // how soon Ctrl+C is seen between two steps
volatile std::sig_atomic_t g_stopRequested = 0;

void requestStop(int) {
    g_stopRequested = 1;
}
} // namespace

StopSignals::StopSignals() {
    g_stopRequested = 0;
    struct sigaction action {};
    action.sa_handler = requestStop;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &m_oldInt);
    ::sigaction(SIGTERM, &action, &m_oldTerm);
}

StopSignals::~StopSignals() {
    ::sigaction(SIGINT, &m_oldInt, nullptr);
    ::sigaction(SIGTERM, &m_oldTerm, nullptr);
}

bool StopSignals::stopRequested() const {
    return g_stopRequested != 0;
}

void runToEndStoppable(TaskRunner& runner, const std::function<void()>& cancel) {
    const StopSignals stop;
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, [&] {
        if (stop.stopRequested())
            cancel();
    });
    stopCheck.start(kStopCheckMs);
    runner.runToEnd();
}
