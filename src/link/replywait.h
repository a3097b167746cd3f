#pragma once

#include "serialport.h"

class Clock;
class LinkWaitObserver;

// One wait for a byte from the board, from the moment the byte that asks for
// it went out. The first kLongWaitMs of it are one plain blocking wait on the
// port, so a healthy line's reply (a few milliseconds away) costs what it
// always did. A wait that lasts longer goes on in kSliceMs slices, telling
// the observer before each one; without an observer it stays one blocking
// wait up to the deadline. Deadlines are the caller's and are kept to the
// millisecond whatever the observer does: each slice is measured against the
// clock after it returned.
class ReplyWait {
public:
    static constexpr int kLongWaitMs = 200;
    static constexpr int kSliceMs = 50;

    // alreadyWaitedMs: the wait goes on from one the window has already sat
    // through (kLongWaitMs or more: the observer hears of it at once).
    ReplyWait(SerialPort& port, const Clock& clock, LinkWaitObserver* observer,
              qint64 alreadyWaitedMs = 0);
    // Ends the report, if one was made.
    ~ReplyWait();
    ReplyWait(const ReplyWait&) = delete;
    ReplyWait& operator=(const ReplyWait&) = delete;

    // When the wait (or the last restart) began, on the clock.
    qint64 startMs() const { return m_startMs; }
    // Blocks until a byte is waiting, the port is lost or deadlineMs (on the
    // clock) has come, whichever is first; with an observer, for at most the
    // next slice. Ready, TimedOut (for the slice, the deadline may be still
    // ahead) or Lost, in which case the report has ended.
    SerialPort::WaitResult until(qint64 deadlineMs);
    // Tells the observer the wait has ended, if it was told of it: before a
    // box, or when the wait ends for good.
    void end();
    // A new wait begins now (after a Retry).
    void restart();

private:
    SerialPort& m_port;
    const Clock& m_clock;
    LinkWaitObserver* m_observer;
    qint64 m_startMs;
    bool m_reported = false;
};
