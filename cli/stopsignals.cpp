#include "stopsignals.h"

#include <csignal>

namespace {
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
