#include "boardwaitindicator.h"

#include <QApplication>
#include <QEventLoop>
#include <QStatusBar>

namespace {
// Whole seconds since the byte the link waits on went out.
QString waitingText(qint64 waitedMs) {
    return QStringLiteral("Waiting for the target board to answer: %1 s").arg(waitedMs / 1000);
}
} // namespace

BoardWaitIndicator::BoardWaitIndicator(QStatusBar* bar) : m_bar(bar) {}

void BoardWaitIndicator::stillWaiting(qint64 waitedMs) {
    if (!m_showing) {
        m_showing = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    m_bar->showMessage(waitingText(waitedMs));
    // Paint and timers only: a key or click now would act on a window whose
    // link is busy; it is held until the link is done, not lost.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BoardWaitIndicator::waitEnded() {
    if (!m_showing)
        return;
    m_showing = false;
    m_bar->clearMessage();
    QApplication::restoreOverrideCursor();
}
