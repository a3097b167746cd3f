#pragma once

#include <QtGlobal>

class Clock;
class LinkWaitObserver;

// A wait for the board made of many short exchanges: the mode handshake
// answered with something other than the acknowledgement, or the PLS
// answering busy to its ready poll. Each exchange is quick, so no one wait
// for a byte lasts long enough to be reported (see ReplyWait), yet the whole
// can go on for seconds before its box. Once it has lasted
// ReplyWait::kLongWaitMs the observer hears of it between two tries, at most
// every ReplyWait::kSliceMs, so the window paints and the seconds count on.
// Only the time between tries changes: the bytes and the deadline do not.
class RetryWait {
public:
    RetryWait(const Clock& clock, LinkWaitObserver* observer);
    // Ends the report, if one was made.
    ~RetryWait();
    RetryWait(const RetryWait&) = delete;
    RetryWait& operator=(const RetryWait&) = delete;

    // Between two tries.
    void betweenTries();
    // Tells the observer the wait has ended, if it was told of it: before a
    // box, or when the wait ends for good.
    void end();
    // A new wait begins now (after a Retry).
    void restart();

private:
    const Clock& m_clock;
    LinkWaitObserver* m_observer;
    qint64 m_startMs;
    qint64 m_reportedAtMs = 0;
    bool m_reported = false;
};
