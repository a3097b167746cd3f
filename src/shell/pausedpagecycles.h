#pragma once

#include <QList>
#include <QPointer>

class QWidget;
class StepDriver;

// While a long transfer runs in its modal window, the refresh cycles of the
// pages behind it are held still: each of their reads between two transfer
// steps would only slow the transfer down (an upload is one board exchange
// per step, and so is a page's pass). The status poll is not a page cycle
// and is left to the caller. Constructing stops every running cycle under
// window except `keep`; destroying starts those same cycles again, those
// whose page has not closed meanwhile.
class PausedPageCycles {
public:
    PausedPageCycles(QWidget* window, const StepDriver* keep);
    ~PausedPageCycles();
    PausedPageCycles(const PausedPageCycles&) = delete;
    PausedPageCycles& operator=(const PausedPageCycles&) = delete;

private:
    QList<QPointer<StepDriver>> m_paused;
};
