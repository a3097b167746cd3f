#include "refreshcycle.h"

#include "rscomm.h"

RefreshCycle::RefreshCycle(RSComm& link, std::function<void()> step, QObject* parent)
    : QObject(parent), m_link(link), m_step(std::move(step)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RefreshCycle::runStep);
}

void RefreshCycle::start() {
    m_active = true;
    schedule(0);
}

void RefreshCycle::stop() {
    m_active = false;
    m_timer.stop();
}

void RefreshCycle::runStep() {
    if (m_link.transactionInProgress()) {
        schedule(kBusyRetryMs);
        return;
    }
    m_step();
    schedule(m_link.OnlineMode ? 0 : kOfflinePaceMs);
}

void RefreshCycle::schedule(int delayMs) {
    if (m_active)
        m_timer.start(delayMs);
}
