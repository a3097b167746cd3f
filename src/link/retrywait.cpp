#include "retrywait.h"

#include "clock.h"
#include "linkwaitobserver.h"
#include "replywait.h"

RetryWait::RetryWait(const Clock& clock, LinkWaitObserver* observer)
    : m_clock(clock), m_observer(observer), m_startMs(clock.monotonicMs()) {}

RetryWait::~RetryWait() {
    end();
}

void RetryWait::betweenTries() {
    if (!m_observer)
        return;
    const qint64 now = m_clock.monotonicMs();
    if (now - m_startMs < ReplyWait::kLongWaitMs ||
        (m_reported && now - m_reportedAtMs < ReplyWait::kSliceMs))
        return;
    m_reported = true;
    m_reportedAtMs = now;
    m_observer->stillWaiting(now - m_startMs);
}

void RetryWait::end() {
    if (m_reported) {
        m_reported = false;
        m_observer->waitEnded();
    }
}

void RetryWait::restart() {
    end();
    m_startMs = m_clock.monotonicMs();
}
