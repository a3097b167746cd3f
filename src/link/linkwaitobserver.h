#pragma once

#include <QtGlobal>

// Hears about a wait for the board that has lasted long enough for a person
// to notice (a silent or frozen board), so the window above the link can say
// so and keep painting. The link calls it from inside its transaction
// (transactionInProgress() is true throughout): nothing it runs may start a
// link exchange, and it must return quickly, as the link's time-outs go on
// counting meanwhile.
class LinkWaitObserver {
public:
    virtual ~LinkWaitObserver() = default;
    // The link has been waiting waitedMs for a byte from the board. First
    // called once a wait has lasted ReplyWait::kLongWaitMs, then after every
    // ReplyWait::kSliceMs of it until the wait ends.
    virtual void stillWaiting(qint64 waitedMs) = 0;
    // The wait stillWaiting reported on has ended: a byte came, the link
    // gave up, or it is about to ask the user (a box follows at once).
    virtual void waitEnded() = 0;
};
