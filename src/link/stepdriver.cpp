#include "stepdriver.h"

#include "rscomm.h"

#include <QTimer>

StepDriver::StepDriver(const RSComm& link, std::function<void()> step, Pace pace, QObject* parent)
    : QObject(parent), m_link(link), m_step(std::move(step)), m_pace(std::move(pace)),
      m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; a pause between steps must not.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &StepDriver::runStep);
}

StepDriver::Pace StepDriver::every(int ms) {
    return [ms] { return ms; };
}

StepDriver::Pace StepDriver::followLink(const RSComm& link) {
    return [&link] { return link.OnlineMode ? 0 : kOfflinePaceMs; };
}

void StepDriver::start(int firstDelayMs) {
    m_active = true;
    schedule(firstDelayMs);
    if (m_held) {
        m_held = false;
        emit resumed();
    }
}

void StepDriver::stop() {
    m_active = false;
    m_timer->stop();
}

void StepDriver::hold(const QString& notice) {
    stop();
    m_held = true;
    emit held(notice);
}

void StepDriver::runStep() {
    if (m_link.transactionInProgress()) {
        schedule(kBusyRetryMs);
        return;
    }
    m_step();
    schedule(m_pace());
}

int StepDriver::scheduledDelayMs() const {
    return m_timer->interval();
}

void StepDriver::schedule(int delayMs) {
    if (m_active)
        m_timer->start(delayMs);
}
