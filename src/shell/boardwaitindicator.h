#pragma once

#include "linkwaitobserver.h"

class QStatusBar;

// What the window does while the link waits for a board that has stopped
// answering (up to 5 s before the link's Retry/Cancel box): the status bar
// says so with the seconds counting, the cursor turns busy, and the window
// goes on painting and its timers on firing (the clock panels tick), while
// keyboard and mouse input waits until the link is done. Pollers among
// those timers skip their turn while the transaction is in progress.
class BoardWaitIndicator : public LinkWaitObserver {
public:
    explicit BoardWaitIndicator(QStatusBar* bar);

    void stillWaiting(qint64 waitedMs) override;
    void waitEnded() override;

private:
    QStatusBar* m_bar;
    bool m_showing = false;
};
