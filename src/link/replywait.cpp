#include "replywait.h"

#include "clock.h"
#include "linkwaitobserver.h"

#include <algorithm>

ReplyWait::ReplyWait(SerialPort& port, const Clock& clock, LinkWaitObserver* observer,
                     qint64 alreadyWaitedMs)
    : m_port(port), m_clock(clock), m_observer(observer),
      m_startMs(clock.monotonicMs() - alreadyWaitedMs) {}

ReplyWait::~ReplyWait() {
    end();
}

SerialPort::WaitResult ReplyWait::until(qint64 deadlineMs) {
    qint64 now = m_clock.monotonicMs();
    qint64 sliceEnd = deadlineMs;
    if (m_observer) {
        if (now - m_startMs < kLongWaitMs) {
            sliceEnd = std::min(deadlineMs, m_startMs + kLongWaitMs);
        } else {
            m_reported = true;
            m_observer->stillWaiting(now - m_startMs);
            now = m_clock.monotonicMs();
            sliceEnd = std::min(deadlineMs, now + kSliceMs);
        }
    }
    if (sliceEnd <= now)
        return SerialPort::WaitResult::TimedOut;
    const SerialPort::WaitResult result = m_port.waitForBytes(static_cast<int>(sliceEnd - now));
    if (result == SerialPort::WaitResult::Lost)
        end();
    return result;
}

void ReplyWait::end() {
    if (m_reported) {
        m_reported = false;
        m_observer->waitEnded();
    }
}

void ReplyWait::restart() {
    end();
    m_startMs = m_clock.monotonicMs();
}
